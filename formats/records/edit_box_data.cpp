#include "formats/records/edit_box_data.h"

#include "formats/records/blob_fields.h"

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

template <class Record, class Fields>
void EditBoxData::Visit(Record& d, Fields& f) {
  f.i32(d.border);
  f.u32(d.textColor, d.backColor);
  f.i32(d.hideSelection, d.maxLength, d.multiLine, d.scrollBars, d.alignment, d.inputMode);
  f.i16(d.passwordChar);
  f.i32(d.caseConversion, d.spinType, d.spinMin, d.spinMax, d.selStart, d.selLength);
  f.counted(d.font);
  f.countedText(d.content);
  if (f.version() >= 2) f.countedText(d.dataSource, d.dataField);
}

template struct VersionedBlob<EditBoxData>;

}  // namespace comp
