#include "formats/icons/icon_image_set.h"

#include <utility>

#include "formats/byte_reader.h"

namespace iconres {

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
                                             size_t length) {
  if (!store || offset > store->size() || length > store->size() - offset || length > 0xFFFFFFFFu) return std::nullopt;
  const std::optional<IconImageHeader> h = ReadIconImageHeader(store->data() + offset, length);
  if (!h) return std::nullopt;
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
