// The Button's stored data without a window: its properties and their PropertyBlob.
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_values.h"

namespace comp {

// The button's properties and their PropertyBlob (versions 0 and 1).
struct ButtonData {
  std::vector<uint8_t> picture;
  int32_t buttonType = 0;
  std::string caption = "按钮";
  int32_t horzAlign = 1;
  int32_t vertAlign = 1;
  std::vector<uint8_t> font;

  void Reset() { *this = ButtonData(); }
  bool Read(const uint8_t* blob, size_t size);
  std::vector<uint8_t> Write() const;
};

}  // namespace comp
