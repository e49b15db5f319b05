#include "runtime/error_report.h"

#include <windows.h>

#include "runtime/program_run.h"
#include "runtime/runtime_state.h"

namespace rt {

std::string FormatRuntimeErrorText(const char* message, int32_t code) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) {
    char number[16];
    wsprintfA(number, "%d", code);
    text += "错误代码：";
    text += number;
    text += "\r\n\r\n";
  }
  if (message && *message) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}

namespace {
FatalHook g_fatalHook = nullptr;
}  // namespace

void SetFatalHookForTests(FatalHook hook) { g_fatalHook = hook; }

void ReportRuntimeError(const char* message, int32_t code) {
  std::string text = FormatRuntimeErrorText(message, code);
  if (g_fatalHook) g_fatalHook(text);  // tests only; it does not return
  // From here on no event routine runs, not even while the box pumps messages.
  ++Runtime().eventBlockCount;
  MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
  Runtime().exitRoutine = nullptr;
  EndProgram(-1);
}

}  // namespace rt
