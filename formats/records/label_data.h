// The Label's stored data without a window: its properties and their PropertyBlob.
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/blob_fields.h"
#include "formats/records/property_values.h"

namespace comp {

// The label's properties and their PropertyBlob (versions 0 to 2).
struct LabelData : VersionedBlob<LabelData> {
  static constexpr int32_t kOldestVersion = 0;
  static constexpr int32_t kBlobVersion = 2;

  std::string caption = "标签";
  int32_t effect = 0;
  int32_t border = 0;
  int32_t gradientBorderWidth = 8;
  uint32_t borderColors[3] = {0x808080, 0xFFFFFF, 0x808080};
  std::vector<uint8_t> font;
  uint32_t textColor = 0;
  uint32_t backColor = kButtonFaceColor;
  std::vector<uint8_t> picture;
  int32_t pictureMode = 1;
  int32_t gradientBackMode = 0;
  uint32_t backColors[3] = {0x808080, 0xFFFFFF, 0x808080};
  int32_t horzAlign = 0;
  int32_t wordWrap = 0;
  int32_t vertAlign = 1;
  std::string dataSource, dataField;

  // Brings choices and widths into their ranges.
  void Normalise();
  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
extern template struct VersionedBlob<LabelData>;

}  // namespace comp
