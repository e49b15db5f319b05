// Event dispatch: finding the routine that the form description binds to an event,
// and calling it.
//
// Calling convention of event routines (the one place it is fixed):
//   a routine is a __stdcall function that takes the event's arguments as 32-bit
//   words (a 64-bit value as two words, low word first), pushed last to first; the
//   routine removes them.  It returns a uint64_t in EDX:EAX: the low word (EAX) is
//   its 32-bit result, the high word (EDX) is non-zero when the routine gave a result
//   ("answered").  A routine declared without a result returns 0 in EDX.  Routines of
//   typed events use the same convention for the low word and the answer; their
//   result is 8 bytes wide, and the dispatcher passes one word after the event's
//   arguments: the address of the result's high word (0 before the call).  A routine
//   with a 64-bit result stores its high word there; one that does not declare that
//   parameter never sees it (the dispatcher restores the stack itself).
// Routine references in the form description are offsets from the program's code
// base (ProgramHeader word 3); RelocateRoutines turns them into addresses.
#pragma once
#include <cstdint>

#include "runtime/events.h"
#include "runtime/window_table.h"

namespace rt {

// The value a routine returns to say it gave `result`.
constexpr uint64_t Answered(int32_t result) { return (uint64_t(1) << 32) | static_cast<uint32_t>(result); }
inline bool RoutineAnswered(uint64_t r) { return (r >> 32) != 0; }

// Calls a routine with `count` words (words[0] is its first parameter).  Survives a
// routine that removes the wrong number of words.
uint64_t CallRoutine(RoutineAddress routine, const uint32_t* words, int32_t count);

// The routine bound to an event, or 0.  While events are blocked: 0.  An unknown
// window or element, or an element of an invalid type, is a fatal run-time error.
// A routine found becomes the current event source.
RoutineAddress FindEventRoutine(uint32_t windowId, uint32_t elementId, int32_t eventIndex);

// RuntimeService 2008 and 2031: 1 when a routine was called, 0 when none was.
int32_t FireEvent(EventRecord* record);
int32_t FireTypedEvent(TypedEventRecord* record);

}  // namespace rt
