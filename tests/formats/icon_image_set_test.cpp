#include "formats/icons/icon_image_set.h"

#include <gtest/gtest.h>

#include "tests/formats/image_bytes.h"
#include "formats/icons/icon_directory.h"
#include "tests/suite_labels.h"

using namespace iconres;
using icontest::MakeDib;
using icontest::MakePng;

PURE_SUITE(ImageEntry);

TEST(ImageEntry, DibFieldsComeFromTheImageHeader) {
  struct Case {
    int32_t w, h;
    uint16_t bits;
    uint32_t palette;
    int64_t stride;
  };
  for (Case c : {Case{32, 32, 4, 64, 16}, Case{16, 16, 1, 8, 4}, Case{48, 48, 8, 1024, 48}, Case{24, 24, 32, 0, 96},
                 Case{256, 256, 32, 0, 1024}, Case{20, 20, 24, 0, 60}}) {
    std::optional<IconImageEntry> e = MakeImageEntry(MakeDib(c.w, c.h, c.bits));
    ASSERT_TRUE(e) << c.w << "x" << c.bits;
    EXPECT_TRUE(e->IsDib());
    EXPECT_EQ(e->width, c.w);
    EXPECT_EQ(e->height, c.h);  // biHeight / 2
    EXPECT_EQ(e->colorBits, c.bits);
    EXPECT_EQ(e->paletteBytes, c.palette);
    EXPECT_EQ(e->rowStride, c.stride);
    EXPECT_EQ(e->XorOffset(), 40 + c.palette);
  }
}

TEST(ImageEntry, ClrUsedAndPlanesOverrideTheDefaults) {
  std::vector<uint8_t> dib = MakeDib(16, 16, 8);
  dib[kBiClrUsed] = 3;  // only 3 palette entries used: 12 palette bytes
  dib[kBiPlanes] = 2;
  std::optional<IconImageEntry> e = MakeImageEntry(dib);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->paletteBytes, 12u);
  EXPECT_EQ(e->colorBits, 16);  // 8 bits x 2 planes
  EXPECT_EQ(e->rowStride, 32);  // (16 x 16 + 31) >> 5 words
  // Any 16-bit values multiply in 32 bits, wrapping (the thumbnail fuzz target met
  // 0xCCCC planes of 0xCCCC bits, once a signed overflow).
  for (size_t at : {kBiPlanes, kBiPlanes + 1, kBiBitCount, kBiBitCount + 1}) dib[at] = 0xCC;
  const std::optional<IconImageHeader> h = ReadIconImageHeader(dib.data(), dib.size());
  ASSERT_TRUE(h);
  EXPECT_EQ(h->ColorBits(), static_cast<int32_t>(0xCCCCu * 0xCCCCu));
  // Rows of that many bits lie far beyond the image's bytes: no entry.
  EXPECT_FALSE(MakeImageEntry(dib));
}

TEST(ImageEntry, HeightIsHalvedTowardZero) {
  std::vector<uint8_t> dib = MakeDib(16, 16, 4);
  dib[kBiHeight] = 33;  // odd stored height
  std::optional<IconImageEntry> e = MakeImageEntry(dib);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->height, 16);
}

TEST(ImageEntry, PngIsDescribedByItsHeaderAndKeptUnchanged) {
  std::vector<uint8_t> png = MakePng(256, 256, 8, 6);
  std::optional<IconImageEntry> e = MakeImageEntry(png);
  ASSERT_TRUE(e);
  EXPECT_FALSE(e->IsDib());
  EXPECT_EQ(e->width, 256);
  EXPECT_EQ(e->height, 256);  // not halved
  EXPECT_EQ(e->colorBits, 32);
  EXPECT_EQ(e->planes, 1);
  EXPECT_EQ(e->bitCount, 32);
  EXPECT_EQ(e->Bytes(), png);

  struct Case {
    uint8_t depth, type;
    int bits;
  };
  for (Case c : {Case{8, 2, 24}, Case{4, 3, 4}, Case{16, 4, 32}, Case{1, 0, 1}, Case{16, 6, 64}}) {
    std::optional<IconImageEntry> p = MakeImageEntry(MakePng(48, 40, c.depth, c.type));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->colorBits, c.bits) << int(c.depth) << "/" << int(c.type);
    EXPECT_EQ(p->height, 40);
  }
}

TEST(ImageEntry, MalformedImagesAreRejected) {
  std::vector<uint8_t> dib = MakeDib(32, 32, 8);
  // Shorter than the 40-byte header.
  EXPECT_FALSE(MakeImageEntry(std::vector<uint8_t>(dib.begin(), dib.begin() + 30)));
  EXPECT_FALSE(MakeImageEntry({}));
  // Header present but the 1024-byte palette cut short.
  EXPECT_FALSE(MakeImageEntry(std::vector<uint8_t>(dib.begin(), dib.begin() + 40 + 1000)));
  // Header and palette without the rows they promise: cut short, and said so; with
  // every row, and with the mask cut by one byte.
  std::string why;
  auto cut = std::make_shared<const std::vector<uint8_t>>(dib);
  EXPECT_FALSE(MakeImageEntry(cut, 0, 40 + 1024, &why));
  EXPECT_EQ(why, "is shorter than its header says (1064 of 2216 bytes)");
  EXPECT_TRUE(MakeImageEntry(cut, 0, 2216));
  EXPECT_FALSE(MakeImageEntry(cut, 0, 2215));
  // A header size beyond the image, or below a BITMAPINFOHEADER.
  std::vector<uint8_t> big = dib;
  big[kBiSize + 1] = 0x40;  // 0x4028 bytes
  EXPECT_FALSE(MakeImageEntry(big));
  std::vector<uint8_t> core = dib;
  core[kBiSize] = 12;
  EXPECT_FALSE(MakeImageEntry(core));
  // A huge biClrUsed: its palette (truncated to 16 bits) does not fit.
  std::vector<uint8_t> clr = MakeDib(16, 16, 4);
  clr[kBiClrUsed] = 0xFF;
  clr[kBiClrUsed + 1] = 0x3F;
  EXPECT_FALSE(MakeImageEntry(clr));
  // PNG signature without a complete IHDR, or with a zero size.
  std::vector<uint8_t> png = MakePng(32, 32);
  EXPECT_FALSE(MakeImageEntry(std::vector<uint8_t>(png.begin(), png.begin() + 20)));
  std::vector<uint8_t> wrongChunk = png;
  wrongChunk[12] = 'X';
  EXPECT_FALSE(MakeImageEntry(wrongChunk));
  EXPECT_FALSE(MakeImageEntry(MakePng(0, 32)));
}

PURE_SUITE(GroupDirectory);

TEST(GroupDirectory, EntriesInDirectoryOrder) {
  std::vector<uint8_t> g = icontest::MakeGroup({{7, 100}, {3, 200}, {0xFFFF, 1}});
  const auto entries = rt::ParseIconDirectory(g.data(), g.size(), rt::IconDirectoryKind::Group);
  ASSERT_TRUE(entries);
  std::vector<std::pair<uint16_t, uint32_t>> seen;
  for (const rt::IconDirectoryEntry& e : *entries) seen.emplace_back(e.id, e.byteSize);
  EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, uint32_t>>{{7, 100}, {3, 200}, {0xFFFF, 1}}));

  std::vector<uint8_t> empty = icontest::MakeGroup({});
  ASSERT_TRUE(rt::ParseIconDirectory(empty.data(), empty.size(), rt::IconDirectoryKind::Group));
  EXPECT_TRUE(rt::ParseIconDirectory(empty.data(), empty.size(), rt::IconDirectoryKind::Group)->empty());
}

TEST(GroupDirectory, ShortDirectoriesAreRejected) {
  std::vector<uint8_t> g = icontest::MakeGroup({{7, 100}}, 3);  // claims 3, holds 1
  EXPECT_FALSE(rt::ParseIconDirectory(g.data(), g.size(), rt::IconDirectoryKind::Group));
  std::vector<uint8_t> two = icontest::MakeGroup({{7, 100}, {8, 100}});
  // The last id cut in half.
  EXPECT_FALSE(rt::ParseIconDirectory(two.data(), two.size() - 1, rt::IconDirectoryKind::Group));
  EXPECT_FALSE(rt::ParseIconDirectory(two.data(), 5, rt::IconDirectoryKind::Group));
  EXPECT_FALSE(rt::ParseIconDirectory(nullptr, 0, rt::IconDirectoryKind::Group));
}
