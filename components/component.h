// Base of every component object: a window object that knows its window id and
// component id, fires events through its library's RuntimeService link, and tells the
// runtime when its window is destroyed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/library_link.h"
#include "runtime/window_object.h"

namespace comp {

class Component : public rt::WindowObject {
 public:
  Component(const rt::LibraryLink& link, uint32_t windowId, uint32_t componentId)
      : link_(link), windowId_(windowId), componentId_(componentId) {}

  uint32_t windowId() const { return windowId_; }
  uint32_t componentId() const { return componentId_; }
  const rt::LibraryLink& link() const { return link_; }

  struct EventAnswer {
    bool routineRan = false;  // FireEvent returned non-zero
    bool answered = false;    // the routine gave a result
    int32_t result = 0;
    // A result of 0 suppresses only when the routine answered.
    bool Suppresses() const { return answered && result == 0; }
  };
  // Fires one of this component's events with up to five 32-bit arguments.
  EventAnswer Fire(int32_t eventIndex, std::initializer_list<int32_t> args = {}) const;
  // The same for another element of this component's window (0: the window itself).
  EventAnswer FireFor(uint32_t elementId, int32_t eventIndex, std::initializer_list<int32_t> args = {}) const;
  // Fires an event whose one argument is a text passed by reference: the text is copied
  // into a runtime block for the call and freed afterwards.
  EventAnswer FireText(int32_t eventIndex, const char* text) const;

 protected:
  // Reports RuntimeService 2000 (window id, component id) and deletes the object.
  void OnFinalMessage() override;

 private:
  const rt::LibraryLink& link_;
  uint32_t windowId_;
  uint32_t componentId_;
};

// The kernel types' GetAllProperties hand their blob over with rt::BlobToGlobal.
using rt::BlobToGlobal;

}  // namespace comp
