// Byte layout of the form description (all integers 32-bit little-endian):
//   key block length (8 x N) | N window ids | N window slots (ignored) | N window records
// Window record: two reserved words, two counted texts, element count E, then the
// element block as a counted byte buffer:
//   E element ids | E offsets (from the end of the offset array) | entries {length L, L bytes}
// The entry layouts of windows/components and of menu items are in form_description.cpp.
//
// The templates read from it, and the reader and writer, need no platform header: the
// run-time slots of an element are declared through the platform's own handle types
// (runtime/window_table.h checks that they are the same), so the reader also builds
// natively for fuzzing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The platform's handle types as its headers declare them (STRICT): HCURSOR is a
// pointer to HICON__, HMENU a pointer to HMENU__.
struct HICON__;
struct HMENU__;

namespace rt {

class WindowObject;  // runtime/window_object.h
using PlatformCursor = HICON__*;
using PlatformMenu = HMENU__*;

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
  PlatformCursor cursor = nullptr;
  PlatformMenu popup = nullptr;

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

// Window id -> template, in id order.  Templates live from initialisation to shutdown;
// live objects hang off the elements while the window is loaded.
using WindowTable = std::map<uint32_t, WindowTemplate>;

// Form description bytes <-> templates.  Reading fails cleanly on truncated or
// inconsistent data and adds nothing then; writing is the exact inverse.
bool ReadFormDescription(const uint8_t* data, size_t length, WindowTable& table);
std::vector<uint8_t> WriteFormDescription(const WindowTable& table);
// Offsets of -1 become no routine; any other offset codeBase + offset.
void RelocateRoutines(WindowTable& table, uint32_t codeBase);

// One element's entry data (without its length word); false on truncation or
// trailing bytes.  The element id must be set in `out` beforehand (it selects the layout).
bool ReadElementData(const uint8_t* data, size_t length, ElementTemplate& out);
std::vector<uint8_t> WriteElementData(const ElementTemplate& element);

}  // namespace rt
