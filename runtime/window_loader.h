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

// Private messages that loading a window (and re-creating a component) sends: to each
// component once all are created, then once the creation events have run; to the
// window once its components are placed.
constexpr UINT kMsgComponentsCreated = 0x806F;
constexpr UINT kMsgCreationEventsDone = 0x8076;
constexpr UINT kMsgComponentsPlaced = 0x8004;

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

bool LoadWindow(uint32_t windowId, HWND owner, bool modal);
// Shutdown: deletes every live object of every window, then drops the templates.
void UnloadAllWindows();
// True while at least one window of the table has a live platform window.
bool AnyLiveWindow();
// RuntimeService 2000 for an element: cursor destroyed, object slot cleared, and for
// the window itself the template restored from its snapshot.
void OnElementDestroyed(uint32_t windowId, uint32_t elementId);
// Pre-translation of a queued message by the window objects it concerns (walks from
// the message's window up through its parents).  True consumes the message.
bool PreTranslateWindowMessage(MSG* msg);

// RuntimeService codes served by the window layer (component objects, events, type
// infos, window objects).  Sets *handled when the code is one of its own.
int32_t WindowLayerService(int32_t code, int32_t arg1, int32_t arg2, bool* handled);

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

}  // namespace rt
