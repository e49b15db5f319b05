// Start-up of a program image and entry to its message loop.
#pragma once
#include <cstdint>

#include "runtime/runtime_state.h"

namespace rt {

// The program's entry routine: initialises the runtime, loads the start-up window,
// runs the loop and returns 0.
using ProgramEntryFn = int32_t(__stdcall*)();

// The process entry's body (called from WinMain): application start with the given
// entry routine, then application exit.  Returns the process exit code.
int RunProgram(ProgramEntryFn entry);

// IndexedService 6: initialises the runtime from the program image.
void __stdcall InitialiseRuntime(const ProgramHeader* header);
// IndexedService 3: the routine that shutdown calls once to release program globals.
void __stdcall RegisterExitRoutine(ExitRoutineFn routine);
void __stdcall LoadStartupWindow(uint32_t windowId);
void __stdcall RunMessageLoop();

}  // namespace rt
