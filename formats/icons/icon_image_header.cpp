#include "formats/icons/icon_image_header.h"

#include "formats/byte_reader.h"

namespace iconres {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(rt::ByteReader& r) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | r.u8();
  return v;
}

std::optional<IconImageHeader> ReadPngImageHeader(const uint8_t* data, size_t size) {
  std::optional<PngHeader> png = ReadPngHeader(data, size);
  if (!png || png->width == 0 || png->height == 0 || png->width > 0x7FFFFFFF || png->height > 0x7FFFFFFF ||
      png->BitsPerPixel() == 0)
    return std::nullopt;
  IconImageHeader h;
  h.format = ImageFormat::Png;
  h.width = static_cast<int32_t>(png->width);
  h.height = static_cast<int32_t>(png->height);
  h.planes = 1;
  h.bitCount = static_cast<uint16_t>(png->BitsPerPixel());
  h.png = *png;
  return h;
}

std::optional<IconImageHeader> ReadDibImageHeader(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  IconImageHeader h;
  h.format = ImageFormat::Dib;
  h.headerSize = r.u32();
  h.width = r.i32();
  h.storedHeight = r.i32();
  h.planes = r.u16();
  h.bitCount = r.u16();
  h.compression = r.u32();
  r.seek(kBiClrUsed);
  h.clrUsed = r.u32();
  // The fields read above lie in the first 40 bytes; a shorter image fails here.
  if (!r.ok() || h.headerSize < kBitmapInfoHeaderSize || h.headerSize > size) return std::nullopt;
  h.height = h.storedHeight / 2;
  const uint32_t paletteBytes = (PaletteEntries(h.clrUsed, h.bitCount) * 4u) & 0xFFFFu;
  if (uint64_t(h.headerSize) + paletteBytes > size) return std::nullopt;
  return h;
}

}  // namespace

bool HasPngSignature(const uint8_t* data, size_t size) {
  if (!data || size < sizeof kPngSignature) return false;
  for (size_t i = 0; i < sizeof kPngSignature; ++i)
    if (data[i] != kPngSignature[i]) return false;
  return true;
}

int32_t PngHeader::BitsPerPixel() const {
  int channels = 0;
  switch (colorType) {
    case 0: channels = 1; break;  // grey
    case 2: channels = 3; break;  // RGB
    case 3: channels = 1; break;  // palette index
    case 4: channels = 2; break;  // grey + alpha
    case 6: channels = 4; break;  // RGBA
    default: return 0;
  }
  return bitDepth * channels;
}

std::optional<PngHeader> ReadPngHeader(const uint8_t* data, size_t size) {
  if (!HasPngSignature(data, size)) return std::nullopt;
  rt::ByteReader r(data, size);
  r.skip(sizeof kPngSignature);
  uint32_t chunkLength = BigEndian32(r);
  uint8_t type[4] = {r.u8(), r.u8(), r.u8(), r.u8()};
  if (!r.ok() || chunkLength < 13 || type[0] != 'I' || type[1] != 'H' || type[2] != 'D' || type[3] != 'R')
    return std::nullopt;
  PngHeader h;
  h.width = BigEndian32(r);
  h.height = BigEndian32(r);
  h.bitDepth = r.u8();
  h.colorType = r.u8();
  r.skip(2);  // compression and filter methods
  h.interlace = r.u8();
  if (!r.ok()) return std::nullopt;
  return h;
}

uint32_t PaletteEntries(uint32_t clrUsed, uint16_t bitCount) {
  if (clrUsed != 0) return clrUsed;
  switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

int64_t RowStride(uint16_t bitCount, uint16_t planes, int32_t width) {
  int64_t bits = int64_t(bitCount) * planes * width + 31;
  return (bits >> 5) * 4;
}

std::optional<IconImageHeader> ReadIconImageHeader(const uint8_t* data, size_t size) {
  if (!data) return std::nullopt;
  if (HasPngSignature(data, size)) return ReadPngImageHeader(data, size);
  return ReadDibImageHeader(data, size);
}

uint8_t DirectorySide(int64_t pixels) { return pixels >= 1 && pixels <= 255 ? static_cast<uint8_t>(pixels) : 0; }

}  // namespace iconres
