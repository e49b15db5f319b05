// The one fatal path of the runtime: a message box headed "运行时出错!", then
// shutdown without the program's exit routine and exit code -1.  Program code raises
// the numbered run-time errors (array access, DLL stack check) through it.
#pragma once
#include <cstdint>
#include <string>

namespace rt {

// The report's text: heading, optional code line, optional message line.
std::string FormatRuntimeErrorText(const char* message, int32_t code);

// Test seam: a hook that sees the report's text before the message box.  A hook that
// returns lets the report go on as usual; tests end the report by throwing.
using FatalHook = void (*)(const std::string& text);
void SetFatalHookForTests(FatalHook hook);

[[noreturn]] void ReportRuntimeError(const char* message, int32_t code);

// The message of error code 1 to 11; null for any other code.
const char* RuntimeErrorMessage(int32_t code);

// Service table slot 0: reports the error with its message and ends the program.
[[noreturn]] void __stdcall RaiseRuntimeError(int32_t code);

}  // namespace rt
