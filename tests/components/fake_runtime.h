// A test double of the runtime for component tests: answers 2006/2007 with the
// component object the test names, records the events of 2008/2031 and the
// destruction reports of 2000, and serves 2024/2025 from the runtime heap.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/events.h"
#include "runtime/heap.h"
#include "runtime/library_link.h"
#include "runtime/runtime_service.h"

namespace fake {

struct FiredEvent {
  int32_t code = 0;  // 2008 or 2031
  uint32_t windowId = 0;
  uint32_t elementId = 0;
  int32_t eventIndex = 0;
  std::vector<int32_t> args;
  std::string text;  // 2031: the text the by-reference argument held
};

struct State {
  void* componentObject = nullptr;
  std::vector<FiredEvent> events;
  std::vector<std::pair<int32_t, int32_t>> destroyed;
  // What an event routine answers; no answer when answered is false.
  bool answer = false;
  int32_t result = 0;
  int32_t allocations = 0;
};

inline State& Runtime() {
  static State state;
  return state;
}

inline void Reset() { Runtime() = State(); }

// What a fired event record (plain or typed) says about where the event comes from.
template <class Record>
FiredEvent EventOf(int32_t code, const Record& r) {
  FiredEvent e;
  e.code = code;
  e.windowId = r.windowId;
  e.elementId = r.elementId;
  e.eventIndex = r.eventIndex;
  return e;
}

inline int32_t __stdcall Service(int32_t code, int32_t arg1, int32_t arg2) {
  State& s = Runtime();
  switch (code) {
    case rt::SvcComponentObject:
    case rt::SvcComponentObjectOrFail:
      return rt::LibraryLink::Word(s.componentObject);
    case rt::SvcFireEvent: {
      auto* r = static_cast<rt::EventRecord*>(rt::LibraryLink::Pointer(arg1));
      FiredEvent e = EventOf(code, *r);
      e.args.assign(r->args, r->args + r->argCount);
      s.events.push_back(e);
      if (s.answer) {
        r->answered = 1;
        r->result = s.result;
      }
      return 1;
    }
    case rt::SvcFireTypedEvent: {
      auto* r = static_cast<rt::TypedEventRecord*>(rt::LibraryLink::Pointer(arg1));
      FiredEvent e = EventOf(code, *r);
      for (int i = 0; i < r->argCount; ++i) e.args.push_back(static_cast<int32_t>(r->args[i].tag));
      if (r->argCount == 1 && (r->args[0].flags & rt::ArgByReference)) {
        char** variable = static_cast<char**>(rt::LibraryLink::Pointer(static_cast<int32_t>(r->args[0].low)));
        if (*variable) e.text = *variable;
      }
      s.events.push_back(e);
      if (s.answer) {
        r->answered = 1;
        r->resultLow = static_cast<uint32_t>(s.result);
      }
      return 1;
    }
    case rt::SvcElementDestroyed:
      s.destroyed.emplace_back(arg1, arg2);
      return 0;
    case rt::SvcAlloc:
      ++s.allocations;
      return rt::LibraryLink::Word(arg2 == 0 ? rt::AllocMemory(arg1) : rt::TryAllocMemory(arg1));
    case rt::SvcFree:
      rt::FreeMemory(rt::LibraryLink::Pointer(arg1));
      return 0;
    case rt::SvcRealloc:
      return rt::LibraryLink::Word(rt::ReallocMemory(rt::LibraryLink::Pointer(arg1), arg2));
    default:
      return 0;
  }
}

inline int32_t ServiceWord() { return rt::LibraryLink::Word(reinterpret_cast<const void*>(&Service)); }

}  // namespace fake
