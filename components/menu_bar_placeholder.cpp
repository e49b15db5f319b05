// Menu services until the menu component lands: no menu bar, no accelerators, and
// menu-item properties that read as 0 and cannot be written.
#include "runtime/window_loader.h"

namespace comp {

HMENU BuildMenuBar(rt::WindowTemplate&, HACCEL* accelerators) {
  if (accelerators) *accelerators = nullptr;
  return nullptr;
}

uint32_t GetMenuItemProperty(rt::WindowTemplate&, rt::ElementTemplate&, int32_t) { return 0; }

bool SetMenuItemProperty(rt::WindowTemplate&, rt::ElementTemplate&, int32_t, uint32_t) { return false; }

}  // namespace comp
