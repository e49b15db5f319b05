// The directory of an RT_GROUP_ICON resource: a 6-byte header (reserved, type, image
// count) and one 14-byte entry per image (width, height, colour count, reserved,
// planes, bit count, byte size, image id).  Only the count, the byte sizes and the ids
// are used; the images are described by their own bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace iconres {

constexpr size_t kGroupHeaderSize = 6;
constexpr size_t kGroupEntrySize = 14;

struct GroupEntry {
  uint16_t id = 0;         // the RT_ICON resource
  uint32_t byteSize = 0;   // the image's length as the directory states it
};

// The entries in directory order; nothing when the directory holds fewer entries than
// its header claims.
std::optional<std::vector<GroupEntry>> ParseGroupDirectory(const uint8_t* data, size_t size);

}  // namespace iconres
