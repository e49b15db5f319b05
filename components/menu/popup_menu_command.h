// Kernel command PopupMenu: shows the sub-items of a window's menu item as a pop-up
// menu at the mouse cursor (or at the given coordinates).
#pragma once
#include <cstdint>

#include "runtime/values.h"

namespace comp {

// Arguments: window ComponentRef, menu-item ComponentRef, x (optional), y (optional).
void __cdecl PopupMenuCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace comp
