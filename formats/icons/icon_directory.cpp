#include "formats/icons/icon_directory.h"

#include "formats/byte_reader.h"

namespace rt {

std::optional<std::vector<IconDirectoryEntry>> ParseIconDirectory(const uint8_t* data, size_t size,
                                                                  IconDirectoryKind kind, size_t limit) {
  const bool group = kind == IconDirectoryKind::Group;
  ByteReader r(data, size);
  const uint16_t reserved = r.u16();
  const uint16_t type = r.u16();
  const uint16_t claimed = r.u16();
  if (!r.ok()) return std::nullopt;
  if (!group && (reserved != 0 || type != (kind == IconDirectoryKind::IconFile ? 1 : 2))) return std::nullopt;
  const size_t count = claimed < limit ? claimed : limit;
  if (r.remaining() / (group ? kIconGroupEntrySize : kIconFileEntrySize) < count) return std::nullopt;

  std::vector<IconDirectoryEntry> entries(count);
  for (IconDirectoryEntry& e : entries) {
    e.width = r.u8();
    e.height = r.u8();
    e.colourCount = r.u8();
    r.skip(1);
    e.planes = r.u16();
    e.bitCount = r.u16();
    e.byteSize = r.u32();
    if (group) {
      e.id = r.u16();
    } else {
      e.offset = r.u32();
      if (e.offset > size || e.byteSize > size - e.offset) return std::nullopt;
    }
  }
  if (!r.ok()) return std::nullopt;
  return entries;
}

}  // namespace rt
