#include "components/label_data.h"

#include "runtime/byte_reader.h"

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

bool LabelData::Read(const uint8_t* blob, size_t size) {
  Reset();
  rt::ByteReader r(blob, size);
  int32_t version = r.i32();
  if (!r.ok() || version < 0 || version > 2) return false;
  effect = r.i32();
  gradientBorderWidth = r.i32();
  border = r.i32();
  for (uint32_t& c : borderColors) c = r.u32();
  textColor = r.u32();
  backColor = r.u32();
  pictureMode = r.i32();
  gradientBackMode = r.i32();
  for (uint32_t& c : backColors) c = r.u32();
  horzAlign = r.i32();
  vertAlign = r.i32();
  wordWrap = r.i32();
  font = r.counted();
  picture = r.counted();
  caption = r.countedText();
  if (version >= 2) {
    dataSource = r.countedText();
    dataField = r.countedText();
  }
  if (!r.ok()) return false;
  Normalise();
  return true;
}

std::vector<uint8_t> LabelData::Write() const {
  rt::ByteAppender a;
  a.i32(2);
  a.i32(effect);
  a.i32(gradientBorderWidth);
  a.i32(border);
  for (uint32_t c : borderColors) a.u32(c);
  a.u32(textColor);
  a.u32(backColor);
  a.i32(pictureMode);
  a.i32(gradientBackMode);
  for (uint32_t c : backColors) a.u32(c);
  a.i32(horzAlign);
  a.i32(vertAlign);
  a.i32(wordWrap);
  a.counted(font);
  a.counted(picture);
  a.countedText(caption);
  a.countedText(dataSource);
  a.countedText(dataField);
  return a.take();
}

}  // namespace comp
