// The EditBox's stored data without a window: its properties and their PropertyBlob.
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/blob_fields.h"
#include "formats/records/property_values.h"

namespace comp {

// The edit box's properties and their PropertyBlob (versions 0 to 2).
struct EditBoxData : VersionedBlob<EditBoxData> {
  static constexpr int32_t kOldestVersion = 0;
  static constexpr int32_t kBlobVersion = 2;

  std::string content;
  int32_t border = 1;
  uint32_t textColor = 0, backColor = 0xFFFFFF;
  std::vector<uint8_t> font;
  int32_t hideSelection = 1, maxLength = 0;
  int32_t multiLine = 0, scrollBars = 0, alignment = 0;
  int32_t inputMode = 0;
  int16_t passwordChar = '*';
  int32_t caseConversion = 0;
  int32_t spinType = 0, spinMin = 0, spinMax = 100;
  int32_t selStart = 0, selLength = 0;
  std::string dataSource, dataField;

  void Normalise();
  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
extern template struct VersionedBlob<EditBoxData>;

// SelStart and SelLength: -1 is kept (caret at the end, select all), other negative
// values become 0.
inline int32_t NonNegativeOrMinusOne(int32_t v) { return v < -1 ? 0 : v; }

}  // namespace comp
