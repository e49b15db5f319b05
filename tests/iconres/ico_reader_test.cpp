#include "formats/icons/ico_parser.h"
#include "iconres/ico_reader.h"

#include <gtest/gtest.h>

#include "iconres/ico_writer.h"
#include "icon_test_support.h"
#include "tests/suite_labels.h"

using namespace iconres;
using icontest::MakeDib;
using icontest::MakePng;

namespace {

struct FileImage {
  uint8_t claimedWidth;
  uint32_t length;
  uint32_t offset;
};

// An .ico file whose directory says exactly what the test wants; images are appended
// after the directory by the caller.
std::vector<uint8_t> Header(uint16_t reserved, uint16_t type, uint16_t count, const std::vector<FileImage>& dir) {
  rt::ByteAppender a;
  a.u16(reserved);
  a.u16(type);
  a.u16(count);
  for (const FileImage& e : dir) {
    a.u8(e.claimedWidth);
    a.u8(e.claimedWidth);
    a.u8(0);
    a.u8(0);
    a.u16(1);
    a.u16(4);
    a.u32(e.length);
    a.u32(e.offset);
  }
  return a.take();
}

std::optional<IconImageSet> Parse(const std::vector<uint8_t>& f) { return ParseIconFile(f.data(), f.size()); }

}  // namespace

PURE_SUITE(IconFileRead);

TEST(IconFileRead, RoundTripGivesTheSameImagesInOrder) {
  IconImageSet set;
  for (auto bytes : {MakeDib(32, 32, 4), MakePng(256, 256), MakeDib(16, 16, 8)})
    set.images.push_back(*MakeImageEntry(bytes));
  icontest::TempFolder dir;
  ASSERT_TRUE(WriteIconFile(set, dir / "r.ico"));
  std::optional<IconImageSet> back = ReadIconFile(dir / "r.ico");
  ASSERT_TRUE(back);
  ASSERT_EQ(back->count(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back->images[i].Bytes(), set.images[i].Bytes()) << i;
    EXPECT_EQ(back->images[i].width, set.images[i].width) << i;
    EXPECT_EQ(back->images[i].colorBits, set.images[i].colorBits) << i;
  }
  EXPECT_FALSE(back->images[1].IsDib());
}

TEST(IconFileRead, RejectsWhatIsNotAnIconFile) {
  std::vector<uint8_t> dib = MakeDib(32, 32, 4);
  auto withImage = [&](std::vector<uint8_t> f) {
    f.insert(f.end(), dib.begin(), dib.end());
    return f;
  };
  // A cursor file (type 2), a non-zero reserved word.
  EXPECT_FALSE(Parse(withImage(Header(0, 2, 1, {{32, 744, 22}}))));
  EXPECT_FALSE(Parse(withImage(Header(1, 1, 1, {{32, 744, 22}}))));
  EXPECT_TRUE(Parse(withImage(Header(0, 1, 1, {{32, 744, 22}}))));
  // Shorter than the header.
  EXPECT_FALSE(Parse({0, 0, 1, 0, 1}));
  EXPECT_FALSE(Parse({}));
  // Three images announced, two directory entries present.
  EXPECT_FALSE(Parse(Header(0, 1, 3, {{32, 744, 54}, {32, 744, 54}})));
  // An image offset past the end, and an image running past the end.
  EXPECT_FALSE(Parse(withImage(Header(0, 1, 1, {{32, 744, 5000}}))));
  EXPECT_FALSE(Parse(withImage(Header(0, 1, 1, {{32, 745, 22}}))));
  EXPECT_FALSE(Parse(withImage(Header(0, 1, 1, {{32, 0xFFFFFFF0u, 22}}))));
  // A truncated image (only 30 bytes of header) and an image of 0 bytes.
  EXPECT_FALSE(Parse(withImage(Header(0, 1, 1, {{32, 30, 22}}))));
  EXPECT_FALSE(Parse(withImage(Header(0, 1, 1, {{32, 0, 22}}))));
}

TEST(IconFileRead, ImagesAreTakenFromWhereTheDirectoryPoints) {
  std::vector<uint8_t> dib = MakeDib(32, 32, 4);
  // Count 0: an empty set; written again it is a 6-byte file.
  std::optional<IconImageSet> empty = Parse(Header(0, 1, 0, {}));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->count(), 0u);
  EXPECT_EQ(BuildIconFile(*empty).size(), 6u);

  // Directory says width 48; the image header says 32, and the set follows the image.
  std::vector<uint8_t> f = Header(0, 1, 2, {{48, 744, 38}, {48, 744, 38}});
  f.insert(f.end(), dib.begin(), dib.end());
  std::optional<IconImageSet> set = Parse(f);
  ASSERT_TRUE(set);
  ASSERT_EQ(set->count(), 2u);
  EXPECT_EQ(set->images[0].width, 32);
  EXPECT_EQ(set->images[0].Bytes(), set->images[1].Bytes());  // the same offset twice
  EXPECT_EQ(BuildIconFile(*set)[6], 32);

  // Images in reverse order in the file, with a gap before them.
  std::vector<uint8_t> small = MakeDib(16, 16, 1);
  std::vector<uint8_t> g = Header(0, 1, 2, {{0, 744, 50 + static_cast<uint32_t>(small.size())}, {0, static_cast<uint32_t>(small.size()), 50}});
  g.resize(50, 0xCC);
  g.insert(g.end(), small.begin(), small.end());
  g.insert(g.end(), dib.begin(), dib.end());
  std::optional<IconImageSet> rev = Parse(g);
  ASSERT_TRUE(rev);
  EXPECT_EQ(rev->images[0].Bytes(), dib);
  EXPECT_EQ(rev->images[1].Bytes(), small);
}

TEST(IconFileRead, FilesThatCannotBeOpened) {
  icontest::TempFolder dir;
  EXPECT_FALSE(ReadIconFile(dir / "none.ico"));
  IconImageSet set;
  set.images.push_back(*MakeImageEntry(MakeDib(16, 16, 4)));
  ASSERT_TRUE(WriteIconFile(set, dir / "held.ico"));
  // Another handle that allows reading still blocks a reader that wants no sharing.
  HANDLE held = CreateFileA((dir / "held.ico").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReadIconFile(dir / "held.ico"));
  CloseHandle(held);
  EXPECT_TRUE(ReadIconFile(dir / "held.ico"));
}
