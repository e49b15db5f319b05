// ParseIconFile (ico_reader.h): the .ico format over bytes, with no platform call.
#include <utility>
#include <vector>

#include "iconres/ico_reader.h"
#include "runtime/byte_reader.h"

namespace iconres {

std::optional<IconImageSet> ParseIconFile(std::shared_ptr<const std::vector<uint8_t>> file) {
  if (!file) return std::nullopt;
  const uint8_t* data = file->data();
  const size_t size = file->size();
  rt::ByteReader r(data, size);
  uint16_t reserved = r.u16();
  uint16_t type = r.u16();
  uint16_t count = r.u16();
  if (!r.ok() || reserved != 0 || type != 1) return std::nullopt;

  IconImageSet set;
  set.images.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    r.skip(8);  // width, height, colour count, reserved, planes, bit count
    uint32_t length = r.u32();
    uint32_t offset = r.u32();
    if (!r.ok()) return std::nullopt;  // the directory ends early
    if (offset > size || length > size - offset) return std::nullopt;
    std::optional<IconImageEntry> entry = MakeImageEntry(file, offset, length);
    if (!entry) return std::nullopt;
    set.images.push_back(std::move(*entry));
  }
  return set;
}

std::optional<IconImageSet> ParseIconFile(const uint8_t* data, size_t size) {
  if (!data) size = 0;
  return ParseIconFile(std::make_shared<const std::vector<uint8_t>>(data, data + size));
}

}  // namespace iconres
