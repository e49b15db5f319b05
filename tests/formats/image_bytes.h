// Icon images and group directories built byte by byte for the core's tests: a DIB,
// the start of a PNG stream, a group directory.  No platform headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "formats/byte_reader.h"

namespace icontest {

// A DIB icon image: 40-byte header with biHeight = 2 x height, a palette for 1, 4 and
// 8 bits, colour rows and mask rows, each row padded to 32 bits.
inline std::vector<uint8_t> MakeDib(int32_t width, int32_t height, uint16_t bits, uint32_t sizeImage = 0,
                                    uint8_t fill = 0x5A) {
  rt::ByteAppender a;
  a.u32(40);
  a.i32(width);
  a.i32(height * 2);
  a.u16(1);
  a.u16(bits);
  a.u32(0);  // BI_RGB
  a.u32(sizeImage);
  a.i32(0);
  a.i32(0);
  a.u32(0);
  a.u32(0);
  uint32_t palette = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  for (uint32_t i = 0; i < palette * 4; ++i) a.u8(static_cast<uint8_t>(i));
  uint32_t stride = ((bits * width + 31) / 32) * 4;
  uint32_t maskStride = ((width + 31) / 32) * 4;
  for (uint32_t i = 0; i < stride * height; ++i) a.u8(static_cast<uint8_t>(fill + i));
  for (uint32_t i = 0; i < maskStride * height; ++i) a.u8(0);
  return a.take();
}

// The start of a PNG stream: signature, IHDR, a few further bytes.
inline std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, uint8_t depth = 8, uint8_t colourType = 6) {
  std::vector<uint8_t> p = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t v : {width, height})
    for (int s = 24; s >= 0; s -= 8) p.push_back(static_cast<uint8_t>(v >> s));
  p.insert(p.end(), {depth, colourType, 0, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF});
  p.insert(p.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return p;
}

// A group directory of these entries (14 bytes each); width/height/colour fields are
// filled with values the library must ignore.
// Each entry is {image id, byte size}.
inline std::vector<uint8_t> MakeGroup(const std::vector<std::pair<uint16_t, uint32_t>>& entries,
                                      int claimedCount = -1) {
  rt::ByteAppender a;
  a.u16(0);
  a.u16(1);
  a.u16(static_cast<uint16_t>(claimedCount < 0 ? entries.size() : claimedCount));
  for (const auto& [id, byteSize] : entries) {
    a.u8(99);
    a.u8(99);
    a.u8(7);
    a.u8(0);
    a.u16(3);
    a.u16(3);
    a.u32(byteSize);
    a.u16(id);
  }
  return a.take();
}

inline uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  rt::ByteReader r(b.data(), b.size());
  r.seek(at);
  return r.u32();
}
inline uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  rt::ByteReader r(b.data(), b.size());
  r.seek(at);
  return r.u16();
}

}  // namespace icontest
