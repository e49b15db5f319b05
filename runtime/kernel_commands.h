// Kernel commands that work with windows, files and the message queue.
#pragma once
#include <cstdint>

#include "runtime/values.h"

namespace rt {

// ComponentRef -> integer: the component's platform window handle.  A component that
// is not loaded is a fatal run-time error (RuntimeService 2007).
void __cdecl GetWindowHandle(ResultRecord* result, int32_t argc, ArgRecord* args);
// path -> logical: true when a first-file search finds a file, folder or pattern match.
void __cdecl FileExists(ResultRecord* result, int32_t argc, ArgRecord* args);
// value, style, caption (optional, "信息：") -> the pressed button (OK 0 .. No 6).
void __cdecl InfoBox(ResultRecord* result, int32_t argc, ArgRecord* args);
// Dispatches the waiting messages; a WM_QUIT stays queued for the main loop.
void __cdecl ProcessEvents(ResultRecord* result, int32_t argc, ArgRecord* args);

// The InfoBox result for a MessageBoxA answer.
int32_t InfoBoxAnswer(int answer);

}  // namespace rt
