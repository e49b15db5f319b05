// The Button's stored data without a window: its properties and their PropertyBlob.
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/blob_fields.h"
#include "formats/records/property_values.h"

namespace comp {

// The button's properties and their PropertyBlob (versions 0 and 1).
struct ButtonData : VersionedBlob<ButtonData> {
  static constexpr int32_t kOldestVersion = 0;
  static constexpr int32_t kBlobVersion = 1;

  std::vector<uint8_t> picture;
  int32_t buttonType = 0;
  std::string caption = "按钮";
  int32_t horzAlign = 1;
  int32_t vertAlign = 1;
  std::vector<uint8_t> font;

  // Brings the choices into their ranges.
  void Normalise();
  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
extern template struct VersionedBlob<ButtonData>;

}  // namespace comp
