// What the window loader shares with the window component and the menu builder.
// The loader lives in the runtime layer; the window component and the menu builder
// live in the components layer above it, so they reach each other through the
// interface and hooks below.
#pragma once
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "runtime/window_table.h"

namespace rt {

// RuntimeService 2005: argument 1 the window id, argument 2 the address of this record.
// After a successful load the window is shown; a modal one runs its nested loop.
struct LoadWindowRequest {
  HWND owner;      // owner window, or null
  int32_t modal;   // non-zero: modal load (the owner is then ignored)
};

// Implemented by the window component (element 0 of every template); the loader finds
// it on the window's object with dynamic_cast.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // Takes over the accelerator table (destroying any previous one).
  virtual void SetAcceleratorTable(HACCEL table) = 0;
  // Shows the window after the load (start position rule, then got-focus event -7).
  virtual void ShowAfterLoad() = 0;
  // A modal window remembers the windows it disabled and re-enables them when it closes.
  virtual void SetDisabledWindows(std::vector<std::pair<HWND, bool>> windows) = 0;
  virtual void MarkLoaded() = 0;
};

// True while LoadWindow creates a window loaded as modal (read by the window's creation).
bool LoadingModalWindow();

// Menu services provided by the menu component.  Until the kernel library installs
// them, windows get no menu and menu-item properties read as 0.
struct MenuServices {
  HMENU (*buildMenuBar)(WindowTemplate& window, HACCEL* accelerators);
  uint32_t (*getItemProperty)(WindowTemplate& window, ElementTemplate& item, int32_t property);
  bool (*setItemProperty)(WindowTemplate& window, ElementTemplate& item, int32_t property, uint32_t value);
};
void SetMenuServices(const MenuServices& services);
const MenuServices& GetMenuServices();

// Cursor of a mouse pointer (form description data or property value); null for none.
HCURSOR CreatePointerCursor(const std::vector<uint8_t>& data);
// Standard pointer table: index 1..14 <-> system cursor id (IDC_ARROW .. IDC_HAND).
// Index 0 means none; other values pass unchanged in both directions.
LPCSTR StandardPointerId(int32_t index);
int32_t PointerIndexToCursorId(int32_t index);
int32_t CursorIdToPointerIndex(int32_t id);
// The hand pointer (index 14): the program's cursor resource 0x408, or the system's
// hand when the program has none.  Shared, never destroyed.
constexpr WORD kHandCursorResource = 0x408;
HCURSOR HandCursor();
// Destroys a cursor made by CreatePointerCursor (shared standard cursors are kept).
void DestroyPointerCursor(HCURSOR cursor);

}  // namespace rt
