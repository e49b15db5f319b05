// An icon image as a 32-bit image list with a mask holds it once the icon is added:
// colour pixels and mask bits, both top-down.  Decoding the common images here spares
// the platform round trip of creating an icon and drawing it into a list; the result
// is the same pixels, which the image-list tests check against the platform.
//
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace comp {

// One bit per pixel, the first pixel in the high bit, rows padded to 32 bits: the
// layout of icon masks and of an image list's mask bitmap.
inline size_t MaskStride(int width) { return static_cast<size_t>((width + 31) / 32) * 4; }
inline bool MaskBit(const uint8_t* line, size_t x) { return (line[x / 8] >> (7 - x % 8)) & 1; }
inline void SetMaskBit(uint8_t* line, size_t x, bool on) {
  const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
  line[x / 8] = static_cast<uint8_t>(on ? line[x / 8] | bit : line[x / 8] & ~bit);
}

struct IconTile {
  int cx = 0;
  int cy = 0;
  std::vector<uint8_t> colour;  // cy rows of cx BGRA pixels
  std::vector<uint8_t> mask;    // cy rows of ((cx + 31) / 32) * 4 bytes; a set bit is transparent
};

// Decodes a bitmap icon image (uncompressed, 4, 8, 24 or 32 bits per pixel) that is
// exactly cx x cy.  Nothing for any other image (PNG streams, monochrome images, other
// sizes, palette indexes outside the palette, data cut short).
std::optional<IconTile> DecodeIconTile(const uint8_t* image, size_t size, int cx, int cy);

// Any icon image that is exactly cx x cy: DecodeIconTile's images as it decodes them,
// every other one (1 and 16 bits, BI_BITFIELDS, short palettes, PNG streams) through
// the icon decoder (icon_decoder.h), stored by the list's rules: an image with
// alpha keeps it (stored colours of alpha 0 too) and is masked where alpha is at most
// 25; any other image has alpha 0 and the image's own mask, and its masked pixels are
// cleared to nothing, except in a monochrome (1-bit) image, whose colour stays there
// (the list draws those pixels inverting).  Nothing for an image of another size or one
// that does not decode: the caller lets the platform draw and scale those.
std::optional<IconTile> DecodeAnyIconTile(const uint8_t* image, size_t size, int cx, int cy);

}  // namespace comp
