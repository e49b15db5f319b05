#include "components/menu/popup_menu_command.h"

#include <windows.h>

#include "components/kernel_library.h"
#include "components/menu/menu.h"
#include "runtime/runtime_state.h"
#include "runtime/window_object.h"

namespace comp {

void __cdecl PopupMenuCommand(rt::ResultRecord*, int32_t argc, rt::ArgRecord* args) {
  if (argc < 2 || !args) return;
  uint32_t windowId = args[0].value;
  // Code 2007 ends the program when the window is not loaded.
  auto* object = static_cast<rt::WindowObject*>(
      rt::LibraryLink::Pointer(KernelLink().Call(rt::SvcComponentObjectOrFail, static_cast<int32_t>(windowId), 0)));
  if (!object || !object->hwnd()) return;
  if (args[1].value != windowId) return;
  auto found = rt::Runtime().windows.find(windowId);
  if (found == rt::Runtime().windows.end()) return;
  rt::WindowTemplate& window = found->second;
  size_t length = 0;
  size_t start = MenuRunStart(window, &length);
  size_t position = 0;
  while (position < length && window.elements[start + position].id != args[1].high) ++position;
  // The item must be in the run, not its last item, and have sub-items.
  if (position + 1 >= length) return;
  rt::ElementTemplate* run = &window.elements[start];
  int32_t level = run[position].level;
  size_t end = position + 1;
  while (end < length && run[end].level > level) ++end;
  if (end == position + 1) return;
  bool ownerDraw = window.elements[0].stateFlags & rt::StateOwnerDrawMenu;
  HMENU menu = BuildMenu(run + position + 1, end - position - 1,
                         kFirstMenuCommand + static_cast<uint32_t>(position + 1), ownerDraw, MenuKind::Popup, nullptr);
  if (!menu) return;
  POINT at = {};
  GetCursorPos(&at);
  at.x += 3;
  at.y += 3;
  if (argc > 2 && !rt::IsOmitted(args[2])) at.x = static_cast<int32_t>(args[2].value);
  if (argc > 3 && !rt::IsOmitted(args[3])) at.y = static_cast<int32_t>(args[3].value);
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, object->hwnd(), nullptr);
  DestroyMenu(menu);
}

}  // namespace comp
