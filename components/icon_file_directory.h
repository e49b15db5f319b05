// The directory at the start of an icon file: {reserved 0, type 1, count}, then one
// 16-byte entry per image (width, height, colour count, reserved, planes, bit count,
// byte size, offset).  Plain code over bytes; the images themselves are not checked.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace comp {

struct IconFileEntry {
  int width = 0;         // 0 in the file stands for 256
  int height = 0;
  int bitCount = 0;
  uint32_t byteSize = 0;
  uint32_t offset = 0;
  // The image lies inside a file of `size` bytes.
  bool Inside(size_t size) const { return offset <= size && byteSize <= size - offset; }
};

// The entries in directory order; nothing when the header is not an icon header or the
// directory ends before its last entry.
std::optional<std::vector<IconFileEntry>> ParseIconFileDirectory(const uint8_t* data, size_t size);

}  // namespace comp
