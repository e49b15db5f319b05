#include "components/window_properties.h"

#include "runtime/byte_reader.h"

namespace comp {

bool WindowProperties::Read(const uint8_t* data, size_t size) {
  Reset();
  rt::ByteReader r(data, size);
  const int32_t version = r.i32();
  if (!r.ok() || version > kVersion) return false;
  border = r.i32();
  pictureLayout = r.i32();
  backColour = r.u32();
  maxButton = r.i32() != 0;
  minButton = r.i32() != 0;
  controlBox = r.i32() != 0;
  startPosition = r.i32();
  movable = r.i32() != 0;
  soundMode = r.i32();
  enterMovesFocus = r.i32() != 0;
  escapeCloses = r.i32() != 0;
  f1Help = r.i32() != 0;
  helpContext = r.i32();
  if (version >= 2) showInTaskbar = r.i32() != 0;
  if (version >= 3) {
    dragByClient = r.i32() != 0;
    shape = r.i32();
  }
  if (version >= 4) alwaysOnTop = r.i32() != 0;
  if (version >= 5) captionAlwaysActive = r.i32() != 0;
  if (version >= 6) className = r.countedText();
  picture = r.counted();
  icon = r.counted();
  sound = r.counted();
  caption = r.countedText();
  helpFile = r.countedText();
  if (!r.ok()) {
    Reset();
    return false;
  }
  return true;
}

std::vector<uint8_t> WindowProperties::Write() const {
  rt::ByteAppender out;
  out.i32(kVersion);
  out.i32(border);
  out.i32(pictureLayout);
  out.u32(backColour);
  out.i32(maxButton);
  out.i32(minButton);
  out.i32(controlBox);
  out.i32(startPosition);
  out.i32(movable);
  out.i32(soundMode);
  out.i32(enterMovesFocus);
  out.i32(escapeCloses);
  out.i32(f1Help);
  out.i32(helpContext);
  out.i32(showInTaskbar);
  out.i32(dragByClient);
  out.i32(shape);
  out.i32(alwaysOnTop);
  out.i32(captionAlwaysActive);
  out.countedText(className);
  out.counted(picture);
  out.counted(icon);
  out.counted(sound);
  out.countedText(caption);
  out.countedText(helpFile);
  return out.take();
}

}  // namespace comp
