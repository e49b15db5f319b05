#include "formats/icons/icon_image_set.h"

#include <algorithm>
#include <string>
#include <utility>

#include "formats/byte_reader.h"

namespace iconres {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(rt::ByteReader& r) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | r.u8();
  return v;
}

using Store = std::shared_ptr<const std::vector<uint8_t>>;

void Refer(IconImageEntry* e, Store store, size_t offset, size_t length) {
  e->store = std::move(store);
  e->offset = offset;
  e->size = static_cast<uint32_t>(length);
}

constexpr char kNotAnImage[] = "is not an icon image";

std::optional<IconImageEntry> Refuse(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return std::nullopt;
}

std::optional<IconImageEntry> MakePngEntry(Store store, size_t offset, size_t length, std::string* why) {
  std::optional<PngHeader> png = ReadPngHeader(store->data() + offset, length);
  if (!png || png->width == 0 || png->height == 0 || png->width > 0x7FFFFFFF ||
      png->height > 0x7FFFFFFF || png->BitsPerPixel() == 0)
    return Refuse(why, kNotAnImage);
  IconImageEntry e;
  e.format = ImageFormat::Png;
  e.width = static_cast<int32_t>(png->width);
  e.height = static_cast<int32_t>(png->height);
  e.colorBits = png->BitsPerPixel();
  e.planes = 1;
  e.bitCount = static_cast<uint16_t>(e.colorBits);
  Refer(&e, std::move(store), offset, length);
  return e;
}

// The bytes that an uncompressed DIB's header promises: header, palette (and the three
// colour masks of BI_BITFIELDS after a 40-byte header), colour rows and mask rows.
// Zero when the header describes no such layout (compressed, or no positive size).
uint64_t PromisedDibBytes(uint32_t biSize, uint32_t paletteBytes, uint32_t compression, int64_t rowStride,
                          int32_t width, int32_t height) {
  constexpr uint32_t kRgb = 0, kBitFields = 3;
  if ((compression != kRgb && compression != kBitFields) || width <= 0 || height <= 0 || rowStride <= 0) return 0;
  const uint64_t masks = compression == kBitFields && biSize == kBitmapInfoHeaderSize ? 12 : 0;
  const uint64_t rows = uint64_t(rowStride) + uint64_t(RowStride(1, 1, width));
  if (rows > (UINT64_MAX >> 1) / uint64_t(height)) return UINT64_MAX;  // more than any file holds
  return uint64_t(biSize) + paletteBytes + masks + rows * uint64_t(height);
}

std::optional<IconImageEntry> MakeDibEntry(Store store, size_t offset, size_t length, std::string* why) {
  rt::ByteReader r(store->data() + offset, length);
  uint32_t biSize = r.u32();
  int32_t biWidth = r.i32();
  int32_t biHeight = r.i32();
  uint16_t biPlanes = r.u16();
  uint16_t biBitCount = r.u16();
  uint32_t biCompression = r.u32();
  r.seek(kBiClrUsed);
  uint32_t biClrUsed = r.u32();
  // The fields read above lie in the first 40 bytes; a shorter image fails here.
  if (!r.ok() || biSize < kBitmapInfoHeaderSize || biSize > length) return Refuse(why, kNotAnImage);

  IconImageEntry e;
  e.format = ImageFormat::Dib;
  e.width = biWidth;
  e.height = biHeight / 2;
  e.planes = biPlanes;
  e.bitCount = biBitCount;
  e.colorBits = static_cast<int32_t>(uint32_t(biBitCount) * biPlanes);
  e.paletteBytes = (PaletteEntries(biClrUsed, biBitCount) * 4u) & 0xFFFFu;
  e.rowStride = RowStride(biBitCount, biPlanes, biWidth);
  // An image cut short would be written as a file that readers call malformed.
  const uint64_t promised = std::max<uint64_t>(
      uint64_t(biSize) + e.paletteBytes,
      PromisedDibBytes(biSize, e.paletteBytes, biCompression, e.rowStride, biWidth, e.height));
  if (promised > length)
    return Refuse(why, "is shorter than its header says (" + std::to_string(length) + " of " +
                           std::to_string(promised) + " bytes)");
  Refer(&e, std::move(store), offset, length);
  return e;
}

}  // namespace

uint32_t IconImageEntry::HeaderSize() const {
  rt::ByteReader r(data(), size);
  return r.u32();
}

const IconImageEntry* IconImageSet::FirstDib() const {
  for (const IconImageEntry& e : images)
    if (e.IsDib()) return &e;
  return nullptr;
}

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

std::optional<IconImageEntry> MakeImageEntry(Store store, size_t offset, size_t length, std::string* why) {
  if (!store || offset > store->size() || length > store->size() - offset || length > 0xFFFFFFFFu)
    return Refuse(why, kNotAnImage);
  if (HasPngSignature(store->data() + offset, length)) return MakePngEntry(std::move(store), offset, length, why);
  return MakeDibEntry(std::move(store), offset, length, why);
}

std::optional<IconImageEntry> MakeImageEntry(std::vector<uint8_t> bytes) {
  const size_t length = bytes.size();
  return MakeImageEntry(std::make_shared<const std::vector<uint8_t>>(std::move(bytes)), 0, length);
}

}  // namespace iconres
