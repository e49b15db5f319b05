#include "iconres/icon_group_directory.h"

#include "runtime/byte_reader.h"

namespace iconres {

std::optional<std::vector<uint16_t>> ParseGroupDirectory(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  r.u16();  // reserved
  r.u16();  // type
  uint16_t count = r.u16();
  if (!r.ok()) return std::nullopt;
  std::vector<uint16_t> ids;
  ids.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    r.skip(12);  // width, height, colour count, reserved, planes, bit count, byte size
    ids.push_back(r.u16());
  }
  if (!r.ok()) return std::nullopt;
  return ids;
}

}  // namespace iconres
