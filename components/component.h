// Base of every component object: a window object that knows its window id and
// component id, fires events through its library's RuntimeService link, and tells the
// runtime when its window is destroyed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "runtime/events.h"
#include "runtime/handles.h"
#include "runtime/library_link.h"
#include "runtime/window_object.h"

namespace comp {

// The arguments of CreateComponent (slot 1) by name.
struct CreateArgs {
  const uint8_t* blob;
  int32_t blobSize;
  uint32_t style;
  HWND parent;       // the owner window for the window component
  int32_t controlId;
  HMENU menu;        // the menu bar of the window component
  int32_t left, top, width, height;
  uint32_t windowId;
  uint32_t componentId;
  bool designMode;

  // The control id as CreateWindowEx takes it for a child window.
  HMENU ChildId() const { return reinterpret_cast<HMENU>(static_cast<intptr_t>(controlId)); }
};

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
  // Creates a system control of `className` where the arguments place it and routes
  // its messages to this object; false leaves no window behind.
  bool CreateControl(const char* className, const char* text, DWORD style, const CreateArgs& args);

 private:
  const rt::LibraryLink& link_;
  uint32_t windowId_;
  uint32_t componentId_;
};

// A component whose properties are one stored record (Data: Read and Write its blob),
// kept as the component's data.
template <class Data>
class StoredComponent : public Component {
 public:
  using StoredData = Data;
  using Component::Component;

  // The property blob.
  std::vector<uint8_t> WriteProperties() const { return data_.Write(); }

 protected:
  Data data_;
};

// The kernel types' GetAllProperties hand their blob over with rt::BlobToGlobal.
using rt::BlobToGlobal;

}  // namespace comp
