// Run-time errors that program code raises by number (array access, DLL stack check).
#pragma once
#include <cstdint>

namespace rt {

// The message of error code 1 to 11; null for any other code.
const char* RuntimeErrorMessage(int32_t code);

// Service table slot 0: reports the error with its message and ends the program.
[[noreturn]] void __stdcall RaiseRuntimeError(int32_t code);

}  // namespace rt
