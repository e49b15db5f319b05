#include "formats/icons/icon_tile.h"

#include <cstring>

#include "formats/byte_reader.h"
#include "formats/icons/icon_decoder.h"
#include "formats/icons/icon_image_set.h"

namespace comp {
namespace {

constexpr uint8_t kMaskedAlpha = 25;

}  // namespace

std::optional<IconTile> DecodeIconTile(const uint8_t* image, size_t size, int cx, int cy) {
  if (cx <= 0 || cy <= 0 || iconres::HasPngSignature(image, size)) return std::nullopt;
  rt::ByteReader r(image, size);
  const uint32_t headerSize = r.u32();
  const int32_t width = r.i32();
  const int32_t height = r.i32();
  const uint16_t planes = r.u16();
  const uint16_t bits = r.u16();
  const uint32_t compression = r.u32();
  r.seek(iconres::kBiClrUsed);
  const uint32_t clrUsed = r.u32();
  if (!r.ok() || headerSize != iconres::kBitmapInfoHeaderSize || width != cx || height != 2 * cy || planes != 1 ||
      compression != 0)
    return std::nullopt;
  // One-bit images make monochrome icons, which the platform draws its own way.
  if (bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;

  // The colours follow the colour table at every depth: a 24- or 32-bit image may carry
  // one (clrUsed entries), which the pixels do not use.
  const uint32_t paletteEntries = iconres::PaletteEntries(clrUsed, bits);
  if (paletteEntries > 256u) return std::nullopt;
  const size_t stride = static_cast<size_t>(iconres::RowStride(bits, 1, cx));
  const size_t maskStride = MaskStride(cx);
  const size_t paletteAt = headerSize, xorAt = paletteAt + paletteEntries * 4, andAt = xorAt + stride * cy;
  if (andAt + maskStride * cy > size) return std::nullopt;
  const uint8_t* palette = image + paletteAt;

  IconTile tile;
  tile.cx = cx;
  tile.cy = cy;
  tile.colour.resize(static_cast<size_t>(cx) * cy * 4);
  tile.mask.resize(maskStride * cy);
  bool alpha = false;
  for (int y = 0; y < cy; ++y) {
    const uint8_t* row = image + xorAt + stride * (cy - 1 - y);  // stored bottom-up
    uint8_t* out = tile.colour.data() + static_cast<size_t>(y) * cx * 4;
    for (int x = 0; x < cx; ++x, out += 4) {
      if (bits == 32) {
        for (int k = 0; k < 4; ++k) out[k] = row[x * 4 + k];
        alpha = alpha || out[3] != 0;
        continue;
      }
      if (bits == 24) {
        for (int k = 0; k < 3; ++k) out[k] = row[x * 3 + k];
        out[3] = 0;
        continue;
      }
      const uint32_t index = bits == 8 ? row[x] : (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
      if (index >= paletteEntries) return std::nullopt;
      for (int k = 0; k < 3; ++k) out[k] = palette[index * 4 + k];
      out[3] = 0;
    }
    const uint8_t* maskRow = image + andAt + maskStride * (cy - 1 - y);
    for (size_t i = 0; i < maskStride; ++i) tile.mask[maskStride * y + i] = maskRow[i];
  }
  // An image with alpha gets its mask from it: transparent where alpha is at most 25
  // (the platform's list keeps that threshold, whatever the image's own mask says).
  if (alpha) {
    for (int y = 0; y < cy; ++y)
      for (int x = 0; x < cx; ++x) {
        SetMaskBit(tile.mask.data() + maskStride * y, x,
                   tile.colour[(static_cast<size_t>(y) * cx + x) * 4 + 3] <= kMaskedAlpha);
      }
  }
  // An image without alpha keeps its colours (alpha 0) where its mask is clear and is
  // cleared to nothing where the mask is set.
  if (!alpha) {
    for (int y = 0; y < cy; ++y)
      for (int x = 0; x < cx; ++x)
        if (MaskBit(tile.mask.data() + maskStride * y, x))
          std::memset(tile.colour.data() + (static_cast<size_t>(y) * cx + x) * 4, 0, 4);
  }
  return tile;
}

std::optional<IconTile> DecodeAnyIconTile(const uint8_t* image, size_t size, int cx, int cy) {
  if (std::optional<IconTile> tile = DecodeIconTile(image, size, cx, cy)) return tile;
  const std::optional<iconres::IconImageHeader> header = iconres::ReadIconImageHeader(image, size);
  if (cx <= 0 || cy <= 0 || !header || header->width != cx || header->height != cy) return std::nullopt;
  // Pixels in RGBA with a mask byte each: a PNG as the decoder gives it (its alpha
  // decides), a bitmap as its two stored layers.
  iconres::IconLayers layers;
  std::string error;
  if (header->format == iconres::ImageFormat::Png) {
    iconres::DecodedIcon decoded;
    if (!iconres::DecodeIconImage(image, size, nullptr, &decoded, &error)) return std::nullopt;
    layers.colour = std::move(decoded.image);
    layers.alpha = true;
  } else if (!iconres::DecodeBitmapLayers(image, size, &layers, &error)) {
    return std::nullopt;
  }
  // A monochrome icon keeps its colour under the mask (the list draws those pixels
  // inverting); any other image without alpha is cleared to nothing there.
  const bool monochrome = header->format == iconres::ImageFormat::Dib && header->bitCount == 1;
  IconTile tile;
  tile.cx = cx;
  tile.cy = cy;
  const size_t maskStride = MaskStride(cx);
  tile.colour.resize(static_cast<size_t>(cx) * cy * 4);
  tile.mask.assign(maskStride * cy, 0);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) {
      const size_t i = static_cast<size_t>(y) * cx + x;
      const uint8_t* rgba = layers.colour.pixels.data() + i * 4;
      uint8_t* bgra = tile.colour.data() + i * 4;
      const bool masked = layers.alpha ? rgba[3] <= kMaskedAlpha : layers.mask[i] != 0;
      SetMaskBit(tile.mask.data() + maskStride * y, x, masked);
      if (!layers.alpha && masked && !monochrome) continue;
      bgra[0] = rgba[2];
      bgra[1] = rgba[1];
      bgra[2] = rgba[0];
      bgra[3] = layers.alpha ? rgba[3] : 0;
    }
  return tile;
}

}  // namespace comp
