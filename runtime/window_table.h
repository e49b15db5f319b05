// The WindowTable (formats/records/form_description.h): one template per window of the form
// description, each a list of elements (element 0 the window, then components and menu
// items).  Templates live from initialisation to shutdown; live objects hang off the
// elements while loaded.  The lookups of templates, elements and live objects.
#pragma once
#include <windows.h>

#include <cstdint>
#include <type_traits>

#include "formats/records/form_description.h"
#include "runtime/window_object.h"

namespace rt {

static_assert(std::is_same<PlatformCursor, HCURSOR>::value && std::is_same<PlatformMenu, HMENU>::value,
              "the templates' run-time slots hold the platform's cursor and menu handles");

// Lookups: by id, element 0 for id 0; null when absent.
WindowTemplate* FindWindowTemplate(uint32_t windowId);
ElementTemplate* FindElement(WindowTemplate& window, uint32_t elementId);
// True when the element's object exists and its platform window is still there.
bool Live(const WindowObject* object);

}  // namespace rt
