#include "formats/records/window_data.h"

#include "formats/records/blob_fields.h"

namespace comp {

template <class Record, class Fields>
void WindowData::Visit(Record& d, Fields& f) {
  f.i32(d.border, d.pictureLayout);
  f.u32(d.backColour);
  f.flag(d.maxButton, d.minButton, d.controlBox);
  f.i32(d.startPosition);
  f.flag(d.movable);
  f.i32(d.soundMode);
  f.flag(d.enterMovesFocus, d.escapeCloses, d.f1Help);
  f.i32(d.helpContext);
  if (f.version() >= 2) f.flag(d.showInTaskbar);
  if (f.version() >= 3) {
    f.flag(d.dragByClient);
    f.i32(d.shape);
  }
  if (f.version() >= 4) f.flag(d.alwaysOnTop);
  if (f.version() >= 5) f.flag(d.captionAlwaysActive);
  if (f.version() >= 6) f.countedText(d.className);
  f.counted(d.picture, d.icon, d.sound);
  f.countedText(d.caption, d.helpFile);
}

template struct VersionedBlob<WindowData>;

}  // namespace comp
