// The application's empty image list: the value its image-list variable starts with
// before the first icon is appended.
#pragma once
#include <cstddef>
#include <cstdint>

namespace comp {

// "MITL", 0xFF000000, then a stream header (version 0x0101, no image, capacity 6,
// growth 4, 32 x 32, background 0x00FFFFFF, flags ILC_COLOR32 | ILC_MASK, no
// overlays) and the start of a bitmap file header that the data cuts off.
constexpr size_t kEmptyImageListSize = 73;
extern const uint8_t kEmptyImageList[kEmptyImageListSize];

}  // namespace comp
