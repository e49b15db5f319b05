// Event records that components hand to the runtime (FireEvent 2008, FireTypedEvent 2031).
#pragma once
#include <cstddef>
#include <cstdint>

namespace rt {

struct EventRecord {
  uint32_t windowId;
  uint32_t elementId;    // 0 = the window itself
  int32_t eventIndex;    // type's own events 0.., common events negative
  int32_t argCount;      // 0 to 5
  int32_t args[5];
  int32_t answered;      // set to 1 by the runtime when the routine gave a result
  int32_t result;
};
static_assert(sizeof(EventRecord) == 11 * 4, "EventRecord is eleven words");
static_assert(offsetof(EventRecord, args) == 16 && offsetof(EventRecord, answered) == 36 &&
              offsetof(EventRecord, result) == 40, "EventRecord word order");

enum TypedArgFlags : uint32_t { ArgByReference = 1, ArgBothWords = 2 };

struct TypedEventArg {
  uint32_t low;
  uint32_t high;
  uint32_t tag;    // TypeTag
  uint32_t flags;  // TypedArgFlags
};
static_assert(sizeof(TypedEventArg) == 16, "typed argument is 16 bytes");

struct TypedEventRecord {
  uint32_t windowId;
  uint32_t elementId;
  int32_t eventIndex;
  int32_t argCount;    // 0 to 12
  TypedEventArg args[12];
  int32_t answered;    // word 52
  uint32_t resultLow;  // word 53
  uint32_t resultHigh; // word 54
};
static_assert(sizeof(TypedEventRecord) == 55 * 4, "typed event record is 55 words");
static_assert(offsetof(TypedEventRecord, answered) == 52 * 4 && offsetof(TypedEventRecord, resultHigh) == 54 * 4,
              "typed event record word order");

// Events common to every element that has a window.
enum CommonEvent : int32_t {
  EventLeftDown = -1,
  EventLeftUp = -2,
  EventLeftDoubleClick = -3,
  EventRightDown = -4,
  EventRightUp = -5,
  EventMouseMove = -6,
  EventGotFocus = -7,
  EventLostFocus = -8,
  EventKeyDown = -9,
  EventKeyUp = -10,
  EventChar = -11,
  EventWheel = -12,
};

}  // namespace rt
