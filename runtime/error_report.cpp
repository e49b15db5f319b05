#include "runtime/error_report.h"

#include <windows.h>

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
  if (g_fatalHook) g_fatalHook(text);
  MessageBoxA(nullptr, text.c_str(), "错误", MB_ICONERROR);
  ExitProcess(static_cast<UINT>(-1));
}

}  // namespace rt
