// Helpers shared by the kernel's simple controls (EditBox, Label, Button): colours,
// border styles and fonts from LOGFONTA bytes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/property_values.h"
#include "runtime/handles.h"
#include "runtime/program_image.h"

namespace comp {

// kButtonFaceColor as the system's button-face colour, any other value as it is.
COLORREF ResolveColor(uint32_t color);

// Applies BorderStyle 0 to 5 (6 has no window styles) and recomputes the frame.
void ApplyBorderStyle(HWND hwnd, int32_t border);

// A font property: 60 LOGFONTA bytes, or anything else for the default GUI font.
class ComponentFont {
 public:
  // Realises the font; falls back to the default GUI font when the bytes are not a
  // usable LOGFONTA.
  void Set(const std::vector<uint8_t>& logfontBytes);
  HFONT handle() const { return own_ ? own_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

 private:
  rt::GdiObject<HFONT> own_;
};

}  // namespace comp
