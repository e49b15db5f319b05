#include "formats/records/button_data.h"

#include "formats/records/blob_fields.h"

namespace comp {

template <class Record, class Fields>
void ButtonData::Visit(Record& d, Fields& f) {
  f.i32(d.buttonType, d.horzAlign, d.vertAlign);
  f.counted(d.picture, d.font);
  f.countedText(d.caption);
}

void ButtonData::Normalise() {
  buttonType = ClampChoice(buttonType, 1);
  horzAlign = ClampChoice(horzAlign, 2);
  vertAlign = ClampChoice(vertAlign, 2);
}

template struct VersionedBlob<ButtonData>;

}  // namespace comp
