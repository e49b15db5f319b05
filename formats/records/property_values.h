// Value conventions of the stored component properties, shared by the data objects
// (plain code over bytes, no platform header) and the controls that use them.
#pragma once
#include <cstdint>

namespace comp {

// 0xFF000000 stands for the system button-face colour in every component.
constexpr uint32_t kButtonFaceColor = 0xFF000000;

// A choice written out of range: below 0 becomes 0, above the largest value the largest.
inline int32_t ClampChoice(int32_t v, int32_t largest) { return v < 0 ? 0 : (v > largest ? largest : v); }

}  // namespace comp
