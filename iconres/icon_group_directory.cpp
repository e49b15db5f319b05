#include "iconres/icon_group_directory.h"

#include "runtime/byte_reader.h"

namespace iconres {

std::optional<std::vector<GroupEntry>> ParseGroupDirectory(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  r.u16();  // reserved
  r.u16();  // type
  uint16_t count = r.u16();
  if (!r.ok() || r.remaining() / kGroupEntrySize < count) return std::nullopt;
  std::vector<GroupEntry> entries(count);
  for (GroupEntry& e : entries) {
    r.skip(8);  // width, height, colour count, reserved, planes, bit count
    e.byteSize = r.u32();
    e.id = r.u16();
  }
  if (!r.ok()) return std::nullopt;
  return entries;
}

}  // namespace iconres
