// The WindowTable (runtime/form_description.h): one template per window of the form
// description, each a list of elements (element 0 the window, then components and menu
// items).  Templates live from initialisation to shutdown; live objects hang off the
// elements while loaded.  This header adds window loading and unloading.
#pragma once
#include <windows.h>

#include <cstdint>
#include <type_traits>

#include "runtime/form_description.h"
#include "runtime/window_object.h"

namespace rt {

static_assert(std::is_same<CursorHandle, HCURSOR>::value && std::is_same<MenuHandle, HMENU>::value,
              "the templates' run-time slots hold the platform's cursor and menu handles");

// Window loading and unloading (runtime/window_loader.cpp).
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

}  // namespace rt
