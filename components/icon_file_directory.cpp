#include "components/icon_file_directory.h"

#include "runtime/byte_reader.h"

namespace comp {

std::optional<std::vector<IconFileEntry>> ParseIconFileDirectory(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  if (r.u16() != 0 || r.u16() != 1) return std::nullopt;
  const uint16_t count = r.u16();
  if (!r.ok()) return std::nullopt;
  std::vector<IconFileEntry> entries;
  for (uint16_t i = 0; i < count; ++i) {
    IconFileEntry e;
    e.width = r.u8();
    e.height = r.u8();
    r.skip(4);  // colour count, reserved, planes
    e.bitCount = r.u16();
    e.byteSize = r.u32();
    e.offset = r.u32();
    if (!r.ok()) return std::nullopt;
    if (e.width == 0) e.width = 256;
    if (e.height == 0) e.height = 256;
    entries.push_back(e);
  }
  return entries;
}

}  // namespace comp
