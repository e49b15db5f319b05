#include "formats/records/label_data.h"

#include "formats/records/blob_fields.h"

namespace comp {

void LabelData::Normalise() {
  effect = ClampChoice(effect, 3);
  border = ClampChoice(border, 6);
  if (gradientBorderWidth < 5) gradientBorderWidth = 5;
  pictureMode = ClampChoice(pictureMode, 2);
  gradientBackMode = ClampChoice(gradientBackMode, 8);
  horzAlign = ClampChoice(horzAlign, 2);
  vertAlign = ClampChoice(vertAlign, 2);
  wordWrap = wordWrap ? 1 : 0;
}

template <class Record, class Fields>
void LabelData::Visit(Record& d, Fields& f) {
  f.i32(d.effect, d.gradientBorderWidth, d.border);
  f.u32(d.borderColors[0], d.borderColors[1], d.borderColors[2], d.textColor, d.backColor);
  f.i32(d.pictureMode, d.gradientBackMode);
  f.u32(d.backColors[0], d.backColors[1], d.backColors[2]);
  f.i32(d.horzAlign, d.vertAlign, d.wordWrap);
  f.counted(d.font, d.picture);
  f.countedText(d.caption);
  if (f.version() >= 2) f.countedText(d.dataSource, d.dataField);
}

template struct VersionedBlob<LabelData>;

}  // namespace comp
