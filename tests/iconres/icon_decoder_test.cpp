// The icon decoder against the platform, over every image of every module in the
// prefix's system folders (32-bit and 64-bit) and a module of edge cases built here:
// the platform makes each image an icon at its own size (CreateIconFromResourceEx) and
// draws it (DrawIconEx) onto a black and onto a white 32-bit DIB section.  The decoder's
// RGBA must give those two drawings pixel for pixel: colour C at alpha A on black is C
// premultiplied by A (rounded), on white that plus 255 - A.  The only pixels allowed to
// differ are those the platform inverts (black shows C, white shows C inverted), which
// the decoder makes transparent; they are counted, and their number must be the
// decoder's own count.
//
// Where Wine is wrong against the file format, the format is the reference.  Wine
// draws two kinds of image opaque where the format makes them transparent: grey PNG
// streams with a tRNS chunk (Wine's PNG decoding ignores grey transparency), and
// 16-bit BI_BITFIELDS bitmaps (Wine ignores their AND mask).  In those images, and only
// there, a pixel that the decoder makes transparent may be drawn opaque; such pixels
// are counted apart.  Every other pixel of them is compared as usual.
//
// Then the images that must fail: short, lying and huge ones.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "formats/icons/icon_decoder.h"
#include "iconres/module_cache.h"
#include "formats/icons/module_resources.h"
#include "icon_images.h"
#include "icon_test_support.h"
#include "runtime/handles.h"
#include "runtime/dib_section.h"
#include "tests/suite_labels.h"

using namespace iconres;
using namespace icontest;

namespace {

// The icon drawn by the platform on a black and on a white background; top-down
// pixels as 0x00RRGGBB.  Empty when the platform refuses the image.
struct PlatformDrawing {
  std::vector<uint32_t> black, white;
};

std::vector<uint32_t> DrawOn(HICON icon, int w, int h, uint32_t background) {
  void* bits = nullptr;
  rt::GdiObject<HBITMAP> section = rt::NewTopDownDib(nullptr, w, h, &bits);
  rt::MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!section || !dc || !bits) return {};
  rt::SelectedObject selected(dc.get(), section.get());
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + size_t(w) * h, background);
  const bool drawn = DrawIconEx(dc.get(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL) != FALSE;
  GdiFlush();
  std::vector<uint32_t> out;
  if (drawn)
    for (size_t i = 0; i < size_t(w) * h; ++i) out.push_back(pixels[i] & 0xFFFFFF);
  return out;
}

PlatformDrawing DrawWithPlatform(const uint8_t* data, size_t size, int w, int h) {
  PlatformDrawing d;
  rt::IconHandle icon(CreateIconFromResourceEx(const_cast<PBYTE>(data), static_cast<DWORD>(size), TRUE, 0x00030000,
                                               w, h, LR_DEFAULTCOLOR));
  if (!icon) return d;
  d.black = DrawOn(icon.get(), w, h, 0x000000);
  d.white = DrawOn(icon.get(), w, h, 0xFFFFFF);
  return d;
}

uint32_t Rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

struct Tally {
  int modules = 0, withIcons = 0, images = 0, distinct = 0, png = 0, inverted = 0, invertedImages = 0,
      refusedByBoth = 0, wineOpaque = 0, wineOpaqueImages = 0;
};

// Images that Wine draws opaque where the format makes them transparent (see above).
bool WineDrawsTransparencyOpaque(const uint8_t* data, size_t size) {
  const std::optional<IconImageHeader> h = ReadIconImageHeader(data, size);
  if (!h) return false;
  if (h->format == ImageFormat::Dib) return h->bitCount == 16 && h->compression == kBiBitfields;
  if (h->png.colorType != 0) return false;
  // A tRNS chunk before the image data.
  for (size_t at = 8; at + 8 <= size;) {
    const uint32_t length = uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 | data[at + 3];
    if (std::memcmp(data + at + 4, "tRNS", 4) == 0) return true;
    if (std::memcmp(data + at + 4, "IDAT", 4) == 0 || length > size - at - 12) return false;
    at += 12 + length;
  }
  return false;
}

// One image against the platform; returns false (after reporting) on the first pixel
// that differs.
bool CompareImage(const uint8_t* data, size_t size, const DirectorySides& sides, const std::string& what,
                  Tally* tally) {
  DecodedIcon decoded;
  std::string error;
  const bool ok = DecodeIconImage(data, size, &sides, &decoded, &error);
  const std::optional<IconImageHeader> header = ReadIconImageHeader(data, size);
  const int w = ok ? decoded.image.width : header ? header->width : 32;
  const int h = ok ? decoded.image.height : header ? header->height : 32;
  const PlatformDrawing drawn = DrawWithPlatform(data, size, w > 0 && w <= 4096 ? w : 32, h > 0 && h <= 4096 ? h : 32);
  if (!ok) {
    EXPECT_TRUE(drawn.black.empty()) << what << ": the platform draws an image the decoder refuses: " << error;
    ++tally->refusedByBoth;
    return drawn.black.empty();
  }
  if (drawn.black.empty() || drawn.white.empty()) {
    ADD_FAILURE() << what << ": the platform refuses an image the decoder takes";
    return false;
  }
  const std::vector<uint8_t>& px = decoded.image.pixels;
  const bool wineOpaque = WineDrawsTransparencyOpaque(data, size);
  size_t inverted = 0, opaque = 0, differing = 0;
  std::string first;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = size_t(y) * w + x;
      const uint8_t* p = &px[i * 4];
      const int a = p[3];
      int onBlack[3], onWhite[3];
      for (int k = 0; k < 3; ++k) {
        onBlack[k] = (p[k] * a + 127) / 255;
        onWhite[k] = onBlack[k] + 255 - a;
      }
      const uint32_t black = Rgb(onBlack[0], onBlack[1], onBlack[2]), white = Rgb(onWhite[0], onWhite[1], onWhite[2]);
      if (drawn.black[i] == black && drawn.white[i] == white) continue;
      // The platform inverts: black shows the colour, white its inverse.
      if (a == 0 && drawn.black[i] != 0 && (drawn.black[i] ^ 0xFFFFFF) == drawn.white[i]) {
        ++inverted;
        continue;
      }
      if (wineOpaque && a == 0 && drawn.black[i] == drawn.white[i]) {
        ++opaque;
        continue;
      }
      if (differing++ > 0) continue;
      char text[200];
      std::snprintf(text, sizeof text, "pixel %d,%d decoded as RGBA %d,%d,%d,%d; expected drawings %06X / %06X, the "
                    "platform drew %06X / %06X", x, y, p[0], p[1], p[2], a, black, white, drawn.black[i], drawn.white[i]);
      first = text;
    }
  }
  if (differing > 0) {
    ADD_FAILURE() << what << ": " << differing << " of " << w * h << " pixels differ; the first: " << first;
    return false;
  }
  tally->wineOpaque += static_cast<int>(opaque);
  tally->wineOpaqueImages += opaque ? 1 : 0;
  // Where Wine draws transparency opaque it shows no inversion either.
  if (!wineOpaque) {
    EXPECT_EQ(inverted, decoded.invertedPixels) << what << ": inverted pixels";
  }
  tally->inverted += static_cast<int>(inverted);
  tally->invertedImages += inverted ? 1 : 0;
  tally->png += HasPngSignature(data, size) ? 1 : 0;
  return true;
}

uint64_t Fingerprint(const uint8_t* data, size_t size) {
  uint64_t h = 1469598103934665603ull ^ size;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
  return h;
}

}  // namespace

PURE_SUITE(IconDecoder);

TEST(IconDecoder, EveryImageDecodesAsThePlatformDrawsIt) {
  TempFolder built;
  std::vector<std::vector<iconmodules::Bytes>> edges;
  for (const iconmodules::Bytes& image : iconmodules::EdgeCaseImages()) edges.push_back({image});
  ASSERT_TRUE(WriteWholeFile(built / "edges.dll", iconmodules::BuildPeIconModule(edges, false)));

  Tally tally;
  std::set<uint64_t> seen;  // images met before, by content
  int failures = 0;
  for (const std::string& folder : {WindowsFolder() + "\\system32", WindowsFolder() + "\\sysnative", built.path()}) {
    for (const std::string& path : ModulesIn(folder)) {
      std::shared_ptr<const ModuleIcons> icons = CachedModuleIcons(path);
      if (!icons) continue;
      ++tally.modules;
      if (icons->groups.empty()) continue;
      ++tally.withIcons;
      for (size_t g = 0; g < icons->groups.size(); ++g) {
        const std::optional<IconImageSet> set = MakeIconImageSet(icons, g);
        if (!set) continue;
        for (size_t i = 0; i < set->images.size(); ++i) {
          const IconImageEntry& e = set->images[i];
          ++tally.images;
          if (!seen.insert(Fingerprint(e.data(), e.length())).second) continue;
          ++tally.distinct;
          const std::string what = path + " group " + std::to_string(g + 1) + " image " + std::to_string(i + 1);
          if (!CompareImage(e.data(), e.length(), {e.directoryWidth, e.directoryHeight}, what, &tally)) ++failures;
          ASSERT_LT(failures, 10) << "stopping after 10 images that differ";
        }
      }
    }
  }
  std::printf("%d modules (%d with icons), %d images (%d distinct, %d PNG), %d inverted pixels in %d images, "
              "%d refused by both; Wine draws %d transparent pixels opaque in %d images\n",
              tally.modules, tally.withIcons, tally.images, tally.distinct, tally.png, tally.inverted,
              tally.invertedImages, tally.refusedByBoth, tally.wineOpaque, tally.wineOpaqueImages);
  EXPECT_GT(tally.modules, 100);
  EXPECT_GT(tally.withIcons, 30);
  EXPECT_GT(tally.distinct, 500);
  EXPECT_GT(tally.inverted, 0);
}

TEST(IconDecoder, ShortLyingAndHugeImagesFailWithAReason) {
  using iconmodules::Bytes;
  const Bytes good = iconmodules::PatternBitmap(32, 32, 32, 1);
  auto with32 = [](Bytes b, size_t at, uint32_t v) { iconmodules::Put32(b, at, v); return b; };
  auto with16 = [](Bytes b, size_t at, uint16_t v) { iconmodules::Put16(b, at, v); return b; };
  Bytes png = iconmodules::PngImage(48, 1);
  Bytes damagedPng = png;
  damagedPng[60] ^= 0xFF;  // inside IDAT: its CRC no longer holds
  Bytes hugePng = png;
  for (size_t at : {16, 20}) hugePng[at + 2] = 0x20;  // IHDR says 8240 x 8240
  const struct {
    const char* what;
    Bytes image;
    DirectorySides sides;
  } cases[] = {
      {"cut to 104 bytes", Bytes(good.begin(), good.begin() + 104), {}},
      {"mask cut short", Bytes(good.begin(), good.end() - 1), {}},
      {"width over 4096", with32(good, kBiWidth, 5000), {}},
      {"height 0", with32(good, kBiHeight, 1), {}},
      {"negative width", with32(good, kBiWidth, 0xFFFFFFE0u), {}},
      {"two planes", with16(good, kBiPlanes, 2), {}},
      {"2 bits per pixel", with16(good, kBiBitCount, 2), {}},
      {"run-length compressed", with32(iconmodules::PatternBitmap(16, 16, 8, 1), kBiCompression, 1), {}},
      {"header larger than the image", with32(good, kBiSize, 0x10000), {}},
      {"PNG without image data", Bytes(png.begin(), png.begin() + 33), {}},
      {"PNG with a damaged chunk", damagedPng, {}},
      {"PNG over 4096 pixels", hugePng, {}},
      {"PNG of 48 pixels named 16 by its directory", png, {16, 16}},
  };
  for (const auto& c : cases) {
    DecodedIcon out;
    std::string error;
    EXPECT_FALSE(DecodeIconImage(c.image.data(), c.image.size(), &c.sides, &out, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_TRUE(out.image.pixels.empty()) << c.what << ": pixel memory taken";
  }
  // The same PNG named 48 (or 0, for any size) decodes.
  DecodedIcon out;
  std::string error;
  for (DirectorySides sides : {DirectorySides{48, 48}, DirectorySides{0, 0}})
    EXPECT_TRUE(DecodeIconImage(png.data(), png.size(), &sides, &out, &error)) << error;
}
