#include "formats/icons/ico_builder.h"

#include "formats/byte_reader.h"

namespace iconres {

uint8_t DirectoryColourCount(uint16_t planes, uint16_t bitCount) {
  uint32_t bits = uint32_t(planes) * bitCount;
  return bits < 8 ? static_cast<uint8_t>(1u << bits) : 0;
}

std::vector<uint8_t> BuildIconFile(const IconImageSet& set) {
  uint16_t count = static_cast<uint16_t>(set.count());
  uint64_t total = kIconHeaderSize + uint64_t(kIconDirEntrySize) * count;
  for (uint16_t i = 0; i < count; ++i) total += set.images[i].length();
  if (total > kMaxIconFileSize) return {};
  rt::ByteAppender out;
  out.u16(0);  // reserved
  out.u16(1);  // type: icon
  out.u16(count);

  // The directory and the images follow the 16-bit count, which is what a reader sees.
  uint32_t offset = kIconHeaderSize + kIconDirEntrySize * count;
  for (uint16_t i = 0; i < count; ++i) {
    const IconImageEntry& e = set.images[i];
    // The image's own sides, 0 for 256 and more (a 194 x 313 PNG is 194 x 0, not 194 x 57).
    out.u8(DirectorySide(e.width));
    out.u8(DirectorySide(e.height));
    out.u8(DirectoryColourCount(e.planes, e.bitCount));
    out.u8(0);
    out.u16(e.planes);
    out.u16(e.bitCount);
    out.u32(e.length());
    out.u32(offset);
    offset += e.length();
  }
  for (uint16_t i = 0; i < count; ++i) {
    const IconImageEntry& e = set.images[i];
    size_t at = out.size();
    out.bytes(e.data(), e.length());
    // biSizeImage is written as 0 so that readers compute the size themselves.
    if (e.IsDib()) out.patch32(at + kBiSizeImage, 0);
  }
  return out.take();
}

}  // namespace iconres
