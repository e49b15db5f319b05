// Menus of a window: the window's run of menu items turned into the menu bar with its
// accelerator table, pop-up menus of sub-runs, and the four menu-item properties.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/window_table.h"

namespace comp {

struct ShortcutKey {
  const char* name;   // "Ctrl+S"
  BYTE modifiers;     // FCONTROL, FSHIFT
  WORD key;           // virtual-key code
};
// Index 1 to 76; null for 0 and anything beyond.
const ShortcutKey* FindShortcutKey(int32_t index);

constexpr uint32_t kFirstMenuCommand = 20000;

enum class MenuKind { Bar, Popup };

// Builds a menu from `count` menu items; item k gets command id firstId + k whether it
// is shown or not.  Bar: level-0 items become drop-downs (their handles go to the
// popup slots).  Popup: every item is an entry of one pop-up menu.  When
// `accelerators` is given, shortcut keys of the built commands become an accelerator
// table there (null when there are none).
HMENU BuildMenu(rt::ElementTemplate* items, size_t count, uint32_t firstId, bool ownerDraw, MenuKind kind,
                HACCEL* accelerators);

// Position and length of the window's run of menu items; length 0 when it has none.
size_t MenuRunStart(const rt::WindowTemplate& window, size_t* length);

// The menu bar of a window (first id 20000); null when it has no menu items.
HMENU BuildMenuBar(rt::WindowTemplate& window, HACCEL* accelerators);

enum MenuItemProperty : int32_t { MenuCaption = 0, MenuCheckedProperty = 1, MenuDisabledProperty = 2,
                                  MenuVisibleProperty = 3 };

// Writes one of the four properties (0 caption text pointer, 1 checked, 2 disabled,
// 3 visible).  True when the value changed, so that the caller rebuilds the bar.
bool SetMenuItemProperty(rt::WindowTemplate& window, rt::ElementTemplate& item, int32_t property, uint32_t value);
// Caption as a new runtime text (the caller frees it), or the logical flag.
uint32_t GetMenuItemProperty(const rt::ElementTemplate& item, int32_t property);

// Replaces the menu bar and accelerator table of a live window after a change.
void RebuildMenuBar(HWND window, rt::WindowTemplate& windowTemplate, HACCEL* accelSlot);

}  // namespace comp
