// The WindowTable: one template per window of the form description, each a list of
// elements (element 0 the window, then components and menu items).  Templates live
// from initialisation to shutdown; live objects hang off the elements while loaded.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/window_object.h"

namespace rt {

// Address of a relocated event routine; 0 = none.  See runtime/event_dispatch.h for
// how routines are called.
using RoutineAddress = uint32_t;
constexpr int32_t kNoRoutineOffset = -1;

struct EventBinding {
  int32_t eventIndex;
  int32_t routineOffset;    // as stored: offset from the code base, or -1
  RoutineAddress routine;   // after relocation
};

enum ElementStateFlags : uint32_t { StateVisible = 1, StateDisabled = 2, StateTabStop = 4, StateOwnerDrawMenu = 8 };
enum MenuItemFlags : uint32_t { MenuHidden = 1, MenuDisabled = 2, MenuChecked = 4 };

struct ElementTemplate {
  uint32_t id = 0;
  // Common head.
  uint32_t typeId = 0;
  uint32_t eventSource = 0;
  uint32_t headReserved[4] = {};
  std::string name;
  std::string comment;

  // Window and components.
  int32_t left = 0, top = 0, width = 0, height = 0;
  uint32_t parentId = 0;
  std::vector<uint32_t> children;
  std::vector<uint8_t> mousePointer;
  std::string tag;
  uint32_t reservedAfterTag = 0;
  uint32_t stateFlags = 0;
  int32_t tabOrder = 0;
  std::vector<EventBinding> events;
  uint32_t reservedAfterEvents[5] = {};
  std::vector<uint8_t> properties;

  // Menu items.
  int32_t shortcut = 0;
  int32_t level = 0;
  uint32_t itemFlags = 0;
  std::string caption;
  int32_t routineOffset = kNoRoutineOffset;
  RoutineAddress routine = 0;
  uint32_t menuReserved[3] = {};

  // Run-time slots (never serialised).
  WindowObject* object = nullptr;
  HCURSOR cursor = nullptr;
  HMENU popup = nullptr;

  bool IsWindow() const { return (id & 0xF0000000u) == 0; }
  bool IsMenuItem() const { return (id & 0x0F000000u) == 0x06000000u && (id & 0xF0000000u) == 0x20000000u; }
  bool IsComponent() const { return !IsWindow() && !IsMenuItem(); }
};

struct WindowTemplate {
  uint32_t id = 0;
  uint32_t reserved1 = 0, reserved2 = 0;
  std::string reservedText1, reservedText2;
  std::vector<ElementTemplate> elements;
  std::vector<ElementTemplate> snapshot;
  bool hasSnapshot = false;
};

using WindowTable = std::map<uint32_t, WindowTemplate>;

// Form description bytes <-> templates.  Reading fails cleanly on truncated or
// inconsistent data; writing is the exact inverse.
bool ReadFormDescription(const uint8_t* data, size_t length, WindowTable& table);
std::vector<uint8_t> WriteFormDescription(const WindowTable& table);
// Offsets of -1 become no routine; any other offset codeBase + offset.
void RelocateRoutines(WindowTable& table, uint32_t codeBase);

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
