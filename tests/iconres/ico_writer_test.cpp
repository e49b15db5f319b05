#include "iconres/ico_writer.h"

#include <gtest/gtest.h>

#include "iconres/bmp_writer.h"
#include "iconres/clipboard_writer.h"
#include "icon_test_support.h"
#include "tests/suite_labels.h"

using namespace iconres;
using icontest::MakeDib;
using icontest::MakePng;
using icontest::Read16;
using icontest::Read32;

namespace {

IconImageSet SetOf(std::vector<std::vector<uint8_t>> images) {
  IconImageSet set;
  for (auto& bytes : images) {
    std::optional<IconImageEntry> e = MakeImageEntry(std::move(bytes));
    EXPECT_TRUE(e);
    if (e) set.images.push_back(std::move(*e));
  }
  return set;
}

}  // namespace

PURE_SUITE(IconFileBytes);

TEST(IconFileBytes, OneFourBitImageMakesA766ByteFile) {
  IconImageSet set = SetOf({MakeDib(32, 32, 4)});
  ASSERT_EQ(set.images[0].length(), 744u);
  std::vector<uint8_t> f = BuildIconFile(set);
  ASSERT_EQ(f.size(), 766u);
  EXPECT_EQ(Read16(f, 0), 0);
  EXPECT_EQ(Read16(f, 2), 1);
  EXPECT_EQ(Read16(f, 4), 1);
  const uint8_t entry[8] = {32, 32, 16, 0, 1, 0, 4, 0};
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 6, f.begin() + 14), std::vector<uint8_t>(entry, entry + 8));
  EXPECT_EQ(Read32(f, 14), 744u);
  EXPECT_EQ(Read32(f, 18), 22u);
  EXPECT_TRUE(std::equal(set.images[0].data(), set.images[0].data() + set.images[0].length(), f.begin() + 22));
}

TEST(IconFileBytes, OffsetsFollowTheImagesBackToBack) {
  IconImageSet set = SetOf({MakeDib(32, 32, 4), MakeDib(32, 32, 8), MakePng(256, 256)});
  ASSERT_EQ(set.images[1].length(), 2216u);
  std::vector<uint8_t> f = BuildIconFile(set);
  EXPECT_EQ(Read32(f, 6 + 12), 54u);  // 6 + 3 x 16
  EXPECT_EQ(Read32(f, 22 + 12), 54u + 744);
  EXPECT_EQ(Read32(f, 38 + 12), 54u + 744 + 2216);
  // The file ends exactly at the last image's offset plus its size.
  EXPECT_EQ(f.size(), Read32(f, 38 + 12) + Read32(f, 38 + 8));

  IconImageSet two = SetOf({MakeDib(32, 32, 4), MakeDib(32, 32, 8)});
  std::vector<uint8_t> g = BuildIconFile(two);
  EXPECT_EQ(Read32(g, 6 + 12), 38u);
  EXPECT_EQ(Read32(g, 22 + 12), 782u);
  EXPECT_EQ(g.size(), 782u + 2216);
}

TEST(IconFileBytes, DirectoryFieldsFromEachImage) {
  struct Case {
    std::vector<uint8_t> image;
    uint8_t width, height, colours;
    uint16_t planes, bits;
  };
  std::vector<uint8_t> zeroBits = MakeDib(16, 16, 4);
  zeroBits[kBiBitCount] = 0;
  Case cases[] = {
      {MakeDib(16, 16, 1), 16, 16, 2, 1, 1},     {MakeDib(32, 32, 4), 32, 32, 16, 1, 4},
      {MakeDib(48, 48, 8), 48, 48, 0, 1, 8},     {MakeDib(24, 24, 32), 24, 24, 0, 1, 32},
      {MakeDib(256, 256, 32), 0, 0, 0, 1, 32},   {zeroBits, 16, 16, 1, 1, 0},
      {MakePng(256, 256, 8, 6), 0, 0, 0, 1, 32}, {MakePng(64, 48, 8, 2), 64, 48, 0, 1, 24},
      {MakePng(194, 313, 8, 6), 194, 0, 0, 1, 32}, {MakePng(0x7FFFFFFF, 300, 8, 6), 0, 0, 0, 1, 32},
      {MakeDib(300, 16, 4), 0, 16, 16, 1, 4},
  };
  for (Case& c : cases) {
    IconImageSet set = SetOf({c.image});
    std::vector<uint8_t> f = BuildIconFile(set);
    SCOPED_TRACE(std::to_string(c.width) + "/" + std::to_string(c.bits));
    EXPECT_EQ(f[6], c.width);
    EXPECT_EQ(f[7], c.height);
    EXPECT_EQ(f[8], c.colours);
    EXPECT_EQ(f[9], 0);
    EXPECT_EQ(Read16(f, 10), c.planes);
    EXPECT_EQ(Read16(f, 12), c.bits);
  }
  EXPECT_EQ(DirectoryColourCount(1, 0), 1);
  EXPECT_EQ(DirectoryColourCount(1, 2), 4);
  EXPECT_EQ(DirectoryColourCount(2, 4), 0);
}

TEST(IconFileBytes, SizeImageIsZeroInTheFileAndUnchangedInTheSet) {
  IconImageSet set = SetOf({MakeDib(32, 32, 4, 640), MakePng(256, 256)});
  const std::vector<uint8_t> before0 = set.images[0].Bytes();
  const std::vector<uint8_t> before1 = set.images[1].Bytes();
  std::vector<uint8_t> f = BuildIconFile(set);
  uint32_t at = Read32(f, 6 + 12);
  EXPECT_EQ(Read32(f, at + kBiSizeImage), 0u);
  // Everything else of the DIB is as stored.
  std::vector<uint8_t> expected = before0;
  expected[kBiSizeImage] = expected[kBiSizeImage + 1] = 0;
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), f.begin() + at));
  // The PNG is copied byte for byte (its bytes 20..23 are IHDR data, not a header field).
  uint32_t pngAt = Read32(f, 22 + 12);
  EXPECT_TRUE(std::equal(before1.begin(), before1.end(), f.begin() + pngAt));
  EXPECT_EQ(set.images[0].Bytes(), before0);
  EXPECT_EQ(Read32(set.images[0].Bytes(), kBiSizeImage), 640u);
  EXPECT_EQ(set.images[1].Bytes(), before1);
  // Deterministic: the same set gives the same bytes again.
  EXPECT_EQ(BuildIconFile(set), f);
}

TEST(IconFileBytes, EmptySetIsSixBytes) {
  IconImageSet empty;
  EXPECT_EQ(BuildIconFile(empty), (std::vector<uint8_t>{0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(empty.FirstDib(), nullptr);
}

PURE_SUITE(BitmapFileBytes);

TEST(BitmapFileBytes, FourBitImageMakesA630ByteBitmap) {
  IconImageSet set = SetOf({MakeDib(32, 32, 4, 640)});
  const IconImageEntry& e = set.images[0];
  std::optional<std::vector<uint8_t>> b = BuildBitmapFile(e);
  ASSERT_TRUE(b);
  ASSERT_EQ(b->size(), 630u);
  EXPECT_EQ((*b)[0], 'B');
  EXPECT_EQ((*b)[1], 'M');
  EXPECT_EQ(Read32(*b, 2), 630u);
  EXPECT_EQ(Read32(*b, 6), 0u);
  EXPECT_EQ(Read32(*b, 10), 118u);  // 54 + 16 x 4
  EXPECT_EQ(Read32(*b, 14 + kBiHeight), 32u);
  EXPECT_EQ(Read32(*b, 14 + kBiSizeImage), 640u);
  // Palette and colour rows as stored; the mask rows are dropped.
  EXPECT_TRUE(std::equal(e.data() + 40, e.data() + 616, b->begin() + 54));
  EXPECT_EQ(Read32(e.Bytes(), kBiHeight), 64u);  // the entry keeps its stored height
}

TEST(BitmapFileBytes, PngAndTruncatedRowsGiveNothing) {
  IconImageSet set = SetOf({MakePng(256, 256)});
  EXPECT_FALSE(BuildBitmapFile(set.images[0]));
  EXPECT_FALSE(BuildClipboardDib(set.images[0]));
  // Header and palette present, colour rows cut short: no entry is made of it, so no
  // writer reads past its end.
  std::vector<uint8_t> dib = MakeDib(32, 32, 4);
  dib.resize(40 + 64 + 100);
  EXPECT_FALSE(MakeImageEntry(dib));
}

TEST(BitmapFileBytes, FirstDibIsUsedWhenAPngComesFirst) {
  IconImageSet set = SetOf({MakePng(256, 256), MakeDib(16, 16, 8), MakeDib(32, 32, 4)});
  ASSERT_NE(set.FirstDib(), nullptr);
  EXPECT_EQ(set.FirstDib(), &set.images[1]);
}

TEST(ClipboardBytes, WholeImageWithColourHeight) {
  IconImageSet set = SetOf({MakeDib(32, 32, 4, 640)});
  std::optional<std::vector<uint8_t>> d = BuildClipboardDib(set.images[0]);
  ASSERT_TRUE(d);
  ASSERT_EQ(d->size(), 744u);
  EXPECT_EQ(Read32(*d, kBiHeight), 32u);
  std::vector<uint8_t> expected = set.images[0].Bytes();
  expected[kBiHeight] = 32;
  EXPECT_EQ(*d, expected);
  EXPECT_EQ(Read32(set.images[0].Bytes(), kBiHeight), 64u);
}

PURE_SUITE(IconFileWrite);

TEST(IconFileWrite, WritesReplacesAndLeavesNoTemporaryFile) {
  icontest::TempFolder dir;
  IconImageSet set = SetOf({MakeDib(32, 32, 4)});
  std::string path = dir / "a.ico";
  ASSERT_TRUE(icontest::WriteWholeFile(path, std::vector<uint8_t>(5000, 0xEE)));
  ASSERT_TRUE(WriteIconFile(set, path));
  EXPECT_EQ(icontest::ReadWholeFile(path), BuildIconFile(set));
  EXPECT_EQ(icontest::FilesIn(dir.path()), std::vector<std::string>{"a.ico"});

  ASSERT_TRUE(WriteBitmapFile(set.images[0], dir / "a.bmp"));
  EXPECT_EQ(icontest::ReadWholeFile(dir / "a.bmp").size(), 630u);
}

TEST(IconFileWrite, FailedWritesLeaveNothingHalfWritten) {
  icontest::TempFolder dir;
  IconImageSet set = SetOf({MakeDib(32, 32, 4)});
  // A folder that does not exist: nothing is written anywhere.
  EXPECT_FALSE(WriteIconFile(set, dir / "missing\\a.ico"));
  EXPECT_TRUE(icontest::FilesIn(dir.path()).empty());

  // A target held open without sharing cannot be replaced: the old file stays whole.
  std::string path = dir / "held.ico";
  std::vector<uint8_t> old(3000, 0xAB);
  ASSERT_TRUE(icontest::WriteWholeFile(path, old));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteIconFile(set, path));
  EXPECT_FALSE(WriteBitmapFile(set.images[0], path));
  CloseHandle(held);
  EXPECT_EQ(icontest::ReadWholeFile(path), old);
  EXPECT_EQ(icontest::FilesIn(dir.path()), std::vector<std::string>{"held.ico"});

  // A target that is a folder.
  CreateDirectoryA((dir / "sub.ico").c_str(), nullptr);
  EXPECT_FALSE(WriteIconFile(set, dir / "sub.ico"));
  EXPECT_EQ(icontest::FilesIn(dir.path()).size(), 2u);
}
