#include "runtime/window_table.h"

#include "runtime/runtime_state.h"

namespace rt {

WindowTemplate* FindWindowTemplate(uint32_t windowId) {
  auto it = Runtime().windows.find(windowId);
  return it == Runtime().windows.end() ? nullptr : &it->second;
}

ElementTemplate* FindElement(WindowTemplate& window, uint32_t elementId) {
  if (window.elements.empty()) return nullptr;
  if (elementId == 0) return &window.elements[0];
  for (ElementTemplate& e : window.elements)
    if (e.id == elementId) return &e;
  return nullptr;
}

bool Live(const WindowObject* object) { return object && object->hwnd() && ::IsWindow(object->hwnd()); }

}  // namespace rt
