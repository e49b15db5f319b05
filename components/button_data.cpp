#include "components/button_data.h"

#include "runtime/byte_reader.h"

namespace comp {

bool ButtonData::Read(const uint8_t* blob, size_t size) {
  Reset();
  rt::ByteReader r(blob, size);
  int32_t version = r.i32();
  if (!r.ok() || version < 0 || version > 1) return false;
  buttonType = ClampChoice(r.i32(), 1);
  horzAlign = ClampChoice(r.i32(), 2);
  vertAlign = ClampChoice(r.i32(), 2);
  picture = r.counted();
  font = r.counted();
  caption = r.countedText();
  return r.ok();
}

std::vector<uint8_t> ButtonData::Write() const {
  rt::ByteAppender a;
  a.i32(1);
  a.i32(buttonType);
  a.i32(horzAlign);
  a.i32(vertAlign);
  a.counted(picture);
  a.counted(font);
  a.countedText(caption);
  return a.take();
}

}  // namespace comp
