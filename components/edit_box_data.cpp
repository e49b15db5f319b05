#include "components/edit_box_data.h"

#include "runtime/byte_reader.h"

namespace comp {

void EditBoxData::Normalise() {
  border = ClampChoice(border, 5);
  hideSelection = hideSelection ? 1 : 0;
  if (maxLength < 0) maxLength = 0;
  multiLine = multiLine ? 1 : 0;
  scrollBars = ClampChoice(scrollBars, 3);
  alignment = ClampChoice(alignment, 2);
  inputMode = ClampChoice(inputMode, 11);
  caseConversion = ClampChoice(caseConversion, 2);
  spinType = ClampChoice(spinType, 2);
  selStart = NonNegativeOrMinusOne(selStart);
  selLength = NonNegativeOrMinusOne(selLength);
}

bool EditBoxData::Read(const uint8_t* blob, size_t size) {
  Reset();
  rt::ByteReader r(blob, size);
  int32_t version = r.i32();
  if (!r.ok() || version < 0 || version > 2) return false;
  border = r.i32();
  textColor = r.u32();
  backColor = r.u32();
  hideSelection = r.i32();
  maxLength = r.i32();
  multiLine = r.i32();
  scrollBars = r.i32();
  alignment = r.i32();
  inputMode = r.i32();
  passwordChar = r.i16();
  caseConversion = r.i32();
  spinType = r.i32();
  spinMin = r.i32();
  spinMax = r.i32();
  selStart = r.i32();
  selLength = r.i32();
  font = r.counted();
  content = r.countedText();
  if (version >= 2) {
    dataSource = r.countedText();
    dataField = r.countedText();
  }
  if (!r.ok()) return false;
  Normalise();
  return true;
}

std::vector<uint8_t> EditBoxData::Write() const {
  rt::ByteAppender a;
  a.i32(2);
  a.i32(border);
  a.u32(textColor);
  a.u32(backColor);
  a.i32(hideSelection);
  a.i32(maxLength);
  a.i32(multiLine);
  a.i32(scrollBars);
  a.i32(alignment);
  a.i32(inputMode);
  a.i16(passwordChar);
  a.i32(caseConversion);
  a.i32(spinType);
  a.i32(spinMin);
  a.i32(spinMax);
  a.i32(selStart);
  a.i32(selLength);
  a.counted(font);
  a.countedText(content);
  a.countedText(dataSource);
  a.countedText(dataField);
  return a.take();
}

}  // namespace comp
