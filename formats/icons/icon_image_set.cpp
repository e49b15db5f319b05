#include "formats/icons/icon_image_set.h"

#include <algorithm>
#include <string>
#include <utility>

#include "formats/byte_reader.h"

namespace iconres {
namespace {

constexpr char kNotAnImage[] = "is not an icon image";

std::optional<IconImageEntry> Refuse(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return std::nullopt;
}

// The bytes that an uncompressed DIB's header promises: header, palette (and the three
// colour masks of BI_BITFIELDS after a 40-byte header), colour rows and mask rows.
// Zero when the header describes no such layout (compressed, or no positive size).
uint64_t PromisedDibBytes(uint32_t biSize, uint32_t paletteBytes, uint32_t compression, int64_t rowStride,
                          int32_t width, int32_t height) {
  if ((compression != kBiRgb && compression != kBiBitfields) || width <= 0 || height <= 0 || rowStride <= 0) return 0;
  const uint64_t masks = compression == kBiBitfields && biSize == kBitmapInfoHeaderSize ? 12 : 0;
  const uint64_t rows = uint64_t(rowStride) + uint64_t(RowStride(1, 1, width));
  if (rows > (UINT64_MAX >> 1) / uint64_t(height)) return UINT64_MAX;  // more than any file holds
  return uint64_t(biSize) + paletteBytes + masks + rows * uint64_t(height);
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

std::optional<IconImageEntry> MakeImageEntry(std::shared_ptr<const std::vector<uint8_t>> store, size_t offset,
                                             size_t length, std::string* why) {
  if (!store || offset > store->size() || length > store->size() - offset || length > 0xFFFFFFFFu)
    return Refuse(why, kNotAnImage);
  const std::optional<IconImageHeader> h = ReadIconImageHeader(store->data() + offset, length);
  if (!h) return Refuse(why, kNotAnImage);
  IconImageEntry e;
  e.format = h->format;
  e.width = h->width;
  e.height = h->height;
  e.planes = h->planes;
  e.bitCount = h->bitCount;
  e.colorBits = h->ColorBits();
  if (h->format == ImageFormat::Dib) {
    e.paletteBytes = (PaletteEntries(h->clrUsed, h->bitCount) * 4u) & 0xFFFFu;
    e.rowStride = RowStride(h->bitCount, h->planes, h->width);
    // An image cut short would be written as a file that readers call malformed.
    const uint64_t promised = std::max<uint64_t>(
        uint64_t(h->headerSize) + e.paletteBytes,
        PromisedDibBytes(h->headerSize, e.paletteBytes, h->compression, e.rowStride, h->width, e.height));
    if (promised > length)
      return Refuse(why, "is shorter than its header says (" + std::to_string(length) + " of " +
                             std::to_string(promised) + " bytes)");
  }
  e.directoryWidth = DirectorySide(e.width);
  e.directoryHeight = DirectorySide(e.height);
  e.store = std::move(store);
  e.offset = offset;
  e.size = static_cast<uint32_t>(length);
  return e;
}

std::optional<IconImageEntry> MakeImageEntry(std::vector<uint8_t> bytes) {
  const size_t length = bytes.size();
  return MakeImageEntry(std::make_shared<const std::vector<uint8_t>>(std::move(bytes)), 0, length);
}

}  // namespace iconres
