// The EditBox's stored data without a window: its properties and their PropertyBlob.
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_values.h"

namespace comp {

// The edit box's properties and their PropertyBlob (versions 0 to 2).
struct EditBoxData {
  std::string content;
  int32_t border = 1;
  uint32_t textColor = 0;
  uint32_t backColor = 0xFFFFFF;
  std::vector<uint8_t> font;
  int32_t hideSelection = 1;
  int32_t maxLength = 0;
  int32_t multiLine = 0;
  int32_t scrollBars = 0;
  int32_t alignment = 0;
  int32_t inputMode = 0;
  int16_t passwordChar = '*';
  int32_t caseConversion = 0;
  int32_t spinType = 0;
  int32_t spinMin = 0;
  int32_t spinMax = 100;
  int32_t selStart = 0;
  int32_t selLength = 0;
  std::string dataSource, dataField;

  void Reset() { *this = EditBoxData(); }
  bool Read(const uint8_t* blob, size_t size);
  std::vector<uint8_t> Write() const;
  void Normalise();
};

// SelStart and SelLength: -1 is kept (caret at the end, select all), other negative
// values become 0.
inline int32_t NonNegativeOrMinusOne(int32_t v) { return v < -1 ? 0 : v; }

}  // namespace comp
