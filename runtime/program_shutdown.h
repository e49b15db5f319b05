// Shutdown of a program image.
#pragma once
#include <windows.h>

#include <cstdint>

namespace rt {

// Shutdown with the code, then ExitProcess(code).  From another thread the work is
// handed to the user-interface thread through EndProgramMessage.
[[noreturn]] void __stdcall EndProgram(int32_t code);
// Unloads the windows, runs the exit routine, tells the libraries, then releases the
// DLL commands, constants, default icons, message window and OLE; safe to enter twice
// (each stage clears what it releases).
void Shutdown(int32_t code);

constexpr UINT EndProgramMessage = 0x83E7;

}  // namespace rt
