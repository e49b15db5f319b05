#include "runtime/error_report.h"

#include <windows.h>

#include "runtime/program_shutdown.h"
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

const char* RuntimeErrorMessage(int32_t code) {
  static const char* const kMessages[] = {
      "数组成员引用下标超出定义范围",
      "未得到所需要的数值型数据",
      "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
      "数组成员引用下标必须大于等于1",
      "数据或数组类型不匹配",
      "调用DLL命令后发现堆栈错误",
      "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
      "被比较数据只能使用等于或不等于命令比较",
      "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
      "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
      "所提供参数的数据类型不符合要求",
  };
  if (code < 1 || code > 11) return nullptr;
  return kMessages[code - 1];
}

void __stdcall RaiseRuntimeError(int32_t code) { ReportRuntimeError(RuntimeErrorMessage(code), code); }

}  // namespace rt
