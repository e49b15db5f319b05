#include "iconres/extract_file_icon.h"

#include <gtest/gtest.h>

#include <memory>

#include "extract_call.h"
#include "iconres/bmp_writer.h"
#include "iconres/clipboard_writer.h"
#include "formats/icons/ico_builder.h"
#include "icon_test_support.h"

using namespace iconres;
using namespace icontest;

namespace {

// Images of the fixture modules, each distinct so that a wrong group shows.
const std::vector<uint8_t> kDib32x4 = MakeDib(32, 32, 4, 0, 0x10);
const std::vector<uint8_t> kPng256 = MakePng(256, 256);
const std::vector<uint8_t> kDib16x8 = MakeDib(16, 16, 8, 999, 0x20);  // non-zero biSizeImage
const std::vector<uint8_t> kDib48x32 = MakeDib(48, 48, 32, 0, 0x30);
const std::vector<uint8_t> kDib16x1 = MakeDib(16, 16, 1, 0, 0x40);
const std::vector<uint8_t> kDib24x8 = MakeDib(24, 24, 8, 0, 0x50);

constexpr WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

IconImageSet SetOf(std::vector<std::vector<uint8_t>> images) {
  IconImageSet set;
  for (auto& bytes : images) set.images.push_back(*MakeImageEntry(std::move(bytes)));
  return set;
}

std::vector<uint8_t> IcoOf(std::vector<std::vector<uint8_t>> images) { return BuildIconFile(SetOf(std::move(images))); }

class ExtractFileIconTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    modules_ = std::make_unique<TempFolder>();
    // Added out of order: the platform enumerates names (sorted) before ids (ascending),
    // so the groups are numbered ALPHA 1, ZED 2, id 2 -> 3, id 7 -> 4.
    good_ = *modules_ / "good.dll";
    goodOk_ = MakeModule(good_, {
        NamedGroup("ZED", MakeGroup({{12, 100}})),  // the directory's byte count is wrong
        Group(7, MakeGroup({{15, 1384}}), kGerman),  // images in another language than the group
        NamedGroup("ALPHA", MakeGroup({{10, 744}, {11, 1}})),
        Group(2, MakeGroup({{13, 0}, {14, 0}})),
        Icon(10, kDib32x4), Icon(11, kPng256), Icon(12, kDib16x8), Icon(13, kDib48x32), Icon(14, kDib16x1),
        Icon(15, kDib24x8, kJapanese),
    });
    std::vector<uint8_t> truncated(kDib32x4.begin(), kDib32x4.begin() + 30);
    std::vector<uint8_t> oversizedHeader = kDib32x4;
    oversizedHeader[kBiSize + 1] = 0x10;  // biSize 0x1028
    bad_ = *modules_ / "bad.dll";
    badOk_ = MakeModule(bad_, {
        Group(1, MakeGroup({{99, 744}})),           // image id 99 does not exist
        Group(2, MakeGroup({{20, 744}})),           // image of 30 bytes
        Group(3, MakeGroup({{21, 744}}, 3)),        // claims 3 entries, holds 1
        Group(4, MakeGroup({{22, 744}})),           // header size beyond the image
        Group(5, MakeGroup({{21, 744}})),           // a good group
        Group(6, MakeGroup({{23, 1}})),             // PNG only
        Icon(20, truncated), Icon(21, kDib32x4), Icon(22, oversizedHeader), Icon(23, kPng256),
    });
    empty_ = *modules_ / "empty.dll";
    emptyOk_ = CopyFileA(FixtureDll().c_str(), empty_.c_str(), FALSE) != FALSE;
  }
  static void TearDownTestSuite() { modules_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(goodOk_ && badOk_ && emptyOk_) << "fixture modules could not be built";
  }

  static std::unique_ptr<TempFolder> modules_;
  static std::string good_, bad_, empty_;
  static bool goodOk_, badOk_, emptyOk_;
  TempFolder out_;
};
std::unique_ptr<TempFolder> ExtractFileIconTest::modules_;
std::string ExtractFileIconTest::good_, ExtractFileIconTest::bad_, ExtractFileIconTest::empty_;
bool ExtractFileIconTest::goodOk_, ExtractFileIconTest::badOk_, ExtractFileIconTest::emptyOk_;

}  // namespace

TEST_F(ExtractFileIconTest, GroupsAreNumberedInEnumerationOrder) {
  const std::vector<std::vector<uint8_t>> expected[] = {
      {kDib32x4, kPng256}, {kDib16x8}, {kDib48x32, kDib16x1}, {kDib24x8}};
  for (int n = 1; n <= 4; ++n) {
    std::string path = out_ / ("g-" + std::to_string(n) + ".ico");
    EXPECT_EQ(ExtractTo(good_, path, n), 4) << n;
    EXPECT_EQ(ReadWholeFile(path), IcoOf(expected[n - 1])) << "group " << n;
  }
  EXPECT_EQ(ExtractTo(good_, out_ / "g-5.ico", 5), 0);
  EXPECT_FALSE(FileExists(out_ / "g-5.ico"));
}

TEST_F(ExtractFileIconTest, WrittenFilesAreExactAndRepeatable) {
  // Group ZED's directory claims 100 bytes; the image's real 1384 bytes are written.
  ASSERT_EQ(ExtractTo(good_, out_ / "a.ico", 2), 4);
  std::vector<uint8_t> f = ReadWholeFile(out_ / "a.ico");
  ASSERT_EQ(f.size(), 22u + kDib16x8.size());
  EXPECT_EQ(Read32(f, 6 + 8), 1384u);
  EXPECT_EQ(Read32(f, 22 + kBiSizeImage), 0u);  // stored as 999 in the module

  // The same group written twice gives the same bytes; the file ends at the last
  // image's offset plus its size.
  ASSERT_EQ(ExtractTo(good_, out_ / "b1.ico", 1), 4);
  ASSERT_EQ(ExtractTo(good_, out_ / "b2.ico", 1), 4);
  std::vector<uint8_t> b1 = ReadWholeFile(out_ / "b1.ico");
  EXPECT_EQ(b1, ReadWholeFile(out_ / "b2.ico"));
  ASSERT_GE(b1.size(), 38u);
  EXPECT_EQ(b1.size(), Read32(b1, 22 + 12) + Read32(b1, 22 + 8));
  // The PNG image keeps its bytes and is described by its own header.
  EXPECT_EQ(b1[22], 0);
  EXPECT_EQ(Read16(b1, 22 + 6), 32);
  EXPECT_TRUE(std::equal(kPng256.begin(), kPng256.end(), b1.begin() + Read32(b1, 22 + 12)));

  // Writing over an existing file replaces it.
  ASSERT_EQ(ExtractTo(good_, out_ / "b1.ico", 3), 4);
  EXPECT_EQ(ReadWholeFile(out_ / "b1.ico"), IcoOf({kDib48x32, kDib16x1}));
}

TEST_F(ExtractFileIconTest, GroupsThatCannotBeLoadedDeliverNothing) {
  for (int n = 1; n <= 4; ++n) {
    std::string path = out_ / ("bad-" + std::to_string(n) + ".ico");
    EXPECT_EQ(ExtractTo(bad_, path, n), 0) << "group " << n;
    EXPECT_FALSE(FileExists(path)) << "group " << n;
  }
  EXPECT_EQ(ExtractTo(bad_, out_ / "bad-5.ico", 5), 6);
  EXPECT_EQ(ReadWholeFile(out_ / "bad-5.ico"), IcoOf({kDib32x4}));
  EXPECT_EQ(ExtractTo(bad_, out_ / "bad-6.ico", 6), 6);
  EXPECT_EQ(ReadWholeFile(out_ / "bad-6.ico"), IcoOf({kPng256}));
  // A group with no DIB image has nothing for the .bmp target.
  EXPECT_EQ(ExtractTo(bad_, out_ / "bad-6.bmp", 6), 0);
  EXPECT_FALSE(FileExists(out_ / "bad-6.bmp"));
}

TEST_F(ExtractFileIconTest, ResultTable) {
  // Target kind 0 with an empty or absent target path.
  EXPECT_EQ(ExtractTo(good_, "", 1), 0);
  EXPECT_EQ(CallExtract({good_, 0, std::nullopt, 1}), 0);
  // Source kinds: the last three characters, lower-cased; nothing else counts.
  std::string upper = *modules_ / "Shell.DLL";
  std::string ocx = *modules_ / "good.ocx";
  ASSERT_TRUE(CopyFileA(good_.c_str(), upper.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(good_.c_str(), ocx.c_str(), FALSE));
  EXPECT_EQ(ExtractTo(upper, out_ / "u.ico", 1), 4);
  EXPECT_EQ(ExtractTo(ocx, out_ / "o.ico", 1), 0);
  EXPECT_FALSE(FileExists(out_ / "o.ico"));
  // A module that cannot be loaded, and one without icon groups.
  EXPECT_EQ(ExtractTo(*modules_ / "absent.dll", out_ / "x.ico", 1), 0);
  EXPECT_EQ(ExtractTo(empty_, out_ / "e.ico", 1), 0);
  std::string notModule = *modules_ / "text.exe";
  ASSERT_TRUE(WriteWholeFile(notModule, std::vector<uint8_t>(600, 'x')));
  EXPECT_EQ(ExtractTo(notModule, out_ / "t.ico", 1), 0);
  // Target extensions: ICO in upper case writes; .png writes nothing and fails.
  EXPECT_EQ(ExtractTo(good_, out_ / "UP.ICO", 1), 4);
  EXPECT_EQ(ReadWholeFile(out_ / "UP.ICO"), IcoOf({kDib32x4, kPng256}));
  EXPECT_EQ(ExtractTo(good_, out_ / "p.png", 1), 0);
  // A write that fails is a failure, and leaves nothing behind.
  EXPECT_EQ(ExtractTo(good_, out_ / "missing\\m.ico", 1), 0);
  std::vector<std::string> files = FilesIn(out_.path());
  EXPECT_EQ(files.size(), 2u);  // u.ico and UP.ICO
}

TEST_F(ExtractFileIconTest, GroupNumberAndTargetKindDefaults) {
  // 0, -5 and an absent number mean 1.
  for (std::optional<int32_t> n : {std::optional<int32_t>(0), std::optional<int32_t>(-5), std::optional<int32_t>()}) {
    std::string path = out_ / ("n" + std::to_string(n.value_or(99)) + ".ico");
    EXPECT_EQ(CallExtract({good_, 0, path, n}), 4);
    EXPECT_EQ(ReadWholeFile(path), IcoOf({kDib32x4, kPng256}));
  }
  ExtractRequest r = DecodeExtractArguments(0, nullptr);
  EXPECT_EQ(r.kind, TargetKind::Clipboard);
  EXPECT_EQ(r.number, 1);
  rt::ArgRecord args[4] = {rt::TextArg("a.dll"), rt::IntArg(2), rt::TextArg("t.ico"), rt::IntArg(3)};
  r = DecodeExtractArguments(4, args);
  EXPECT_EQ(r.kind, TargetKind::Clipboard);  // out of range
  EXPECT_EQ(r.number, 3);
  EXPECT_EQ(r.target, "t.ico");
  args[1] = rt::IntArg(0);
  EXPECT_EQ(DecodeExtractArguments(4, args).kind, TargetKind::File);
}

TEST_F(ExtractFileIconTest, BitmapTargetTakesTheFirstDib) {
  ASSERT_EQ(ExtractTo(good_, out_ / "a.BMP", 1), 4);  // ALPHA: DIB then PNG
  std::optional<std::vector<uint8_t>> expected = BuildBitmapFile(SetOf({kDib32x4}).images[0]);
  ASSERT_TRUE(expected);
  EXPECT_EQ(ReadWholeFile(out_ / "a.BMP"), *expected);
  EXPECT_EQ(ReadWholeFile(out_ / "a.BMP").size(), 630u);
}

TEST_F(ExtractFileIconTest, IconFileSources) {
  ASSERT_EQ(ExtractTo(good_, out_ / "src.ico", 1), 4);
  std::vector<uint8_t> src = ReadWholeFile(out_ / "src.ico");
  // Number 1 re-assembles every image; number 2 is beyond the one group.
  EXPECT_EQ(ExtractTo(out_ / "src.ico", out_ / "copy.ico", 1), 1);
  EXPECT_EQ(ReadWholeFile(out_ / "copy.ico"), src);
  EXPECT_EQ(ExtractTo(out_ / "src.ico", out_ / "copy2.ico", 2), 0);
  EXPECT_FALSE(FileExists(out_ / "copy2.ico"));
  // A name ending in .xico is an icon source too.
  ASSERT_TRUE(CopyFileA((out_ / "src.ico").c_str(), (out_ / "src.xico").c_str(), FALSE));
  EXPECT_EQ(ExtractTo(out_ / "src.xico", out_ / "x.ico", 1), 1);
  EXPECT_EQ(ReadWholeFile(out_ / "x.ico"), src);
  // An icon source that cannot be read delivers nothing and is a failure.
  EXPECT_EQ(ExtractTo(out_ / "absent.ico", out_ / "y.ico", 1), 0);
  ASSERT_TRUE(WriteWholeFile(out_ / "cursor.ico", {0, 0, 2, 0, 0, 0}));
  EXPECT_EQ(ExtractTo(out_ / "cursor.ico", out_ / "z.ico", 1), 0);
  EXPECT_FALSE(FileExists(out_ / "y.ico"));
  EXPECT_FALSE(FileExists(out_ / "z.ico"));
  // An empty icon file is one empty group: a 6-byte .ico, and no bitmap.
  ASSERT_TRUE(WriteWholeFile(out_ / "empty.ico", {0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(ExtractTo(out_ / "empty.ico", out_ / "e.ico", 1), 1);
  EXPECT_EQ(ReadWholeFile(out_ / "e.ico"), (std::vector<uint8_t>{0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(ExtractTo(out_ / "empty.ico", out_ / "e.bmp", 1), 0);
}

namespace {

std::vector<uint8_t> ClipboardDib() {
  std::vector<uint8_t> bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE h = GetClipboardData(CF_DIB)) {
    const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(h));
    if (p) bytes.assign(p, p + GlobalSize(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return bytes;
}

bool PutText(const char* text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(GlobalLock(g), text, strlen(text) + 1);
  GlobalUnlock(g);
  bool ok = SetClipboardData(CF_TEXT, g) != nullptr;
  CloseClipboard();
  return ok;
}

}  // namespace

TEST_F(ExtractFileIconTest, ClipboardTarget) {
  std::optional<std::vector<uint8_t>> alpha = BuildClipboardDib(SetOf({kDib32x4}).images[0]);
  ASSERT_TRUE(alpha);
  // Kind 1 ignores a target path; an absent kind means the clipboard too.
  EXPECT_EQ(CallExtract({good_, 1, out_ / "ignored.ico", 1}), 4);
  EXPECT_FALSE(FileExists(out_ / "ignored.ico"));
  std::vector<uint8_t> dib = ClipboardDib();
  ASSERT_GE(dib.size(), alpha->size());  // the platform may round the block up
  EXPECT_TRUE(std::equal(alpha->begin(), alpha->end(), dib.begin()));
  EXPECT_EQ(Read32(dib, kBiHeight), 32u);

  EXPECT_EQ(CallExtract({good_, std::nullopt, std::nullopt, 3}), 4);
  EXPECT_EQ(Read32(ClipboardDib(), kBiWidth), 48u);

  // A PNG-only group leaves the clipboard as it was.
  ASSERT_TRUE(PutText("sentinel"));
  EXPECT_EQ(CallExtract({bad_, 1, std::nullopt, 6}), 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  CloseClipboard();
}
