#include "runtime/program_start.h"

#include <windows.h>
#include <ole2.h>

#include <cstring>

#include "runtime/dll_binding.h"
#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/program_shutdown.h"
#include "runtime/runtime_service.h"
#include "runtime/window_loader.h"

namespace rt {
namespace {

const char kMessageWindowClass[] = "RuntimeMessageWindow";
int g_quitCode = 0;

LRESULT CALLBACK MessageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == EndProgramMessage) EndProgram(static_cast<int32_t>(wParam));
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CreateMessageWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = MessageWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kMessageWindowClass;
  RegisterClassA(&wc);
  Runtime().messageWindow =
      CreateWindowExA(WS_EX_TOOLWINDOW, kMessageWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

// Splits a module path at its last backslash.
void SplitProgramPath(const char* path, std::string* folder, std::string* name) {
  const char* slash = std::strrchr(path, '\\');
  if (!slash) {
    folder->clear();
    *name = path;
    return;
  }
  folder->assign(path, slash - path);
  *name = slash + 1;
}

}  // namespace

void NoteQuitCode(int code) { g_quitCode = code; }

int RunProgram(ProgramEntryFn entry) {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char* slash = std::strrchr(path, '\\');
  Runtime().moduleFolder.assign(path, slash ? slash - path + 1 : 0);
  int32_t result = entry();
  (void)result;  // 0: the loop has already run inside the entry routine
  Shutdown(0);
  return g_quitCode;
}

void __stdcall InitialiseRuntime(const ProgramHeader* header) {
  RuntimeState& rs = Runtime();
  rs.heap = GetProcessHeap();
  rs.header = header;
  rs.programKind = header->programKind;
  rs.reserved1 = header->reserved1;
  rs.reserved2PlusOne = header->reserved2 + 1;
  rs.codeBase = header->codeBase;

  if (!rs.oleInitialised && SUCCEEDED(OleInitialize(nullptr))) rs.oleInitialised = true;

  char path[261] = {};
  GetModuleFileNameA(nullptr, path, 260);
  SplitProgramPath(path, &rs.programFolder, &rs.programFileName);
  SetCurrentDirectoryA(rs.programFolder.c_str());

  CreateMessageWindow();
  rs.uiThreadId = GetCurrentThreadId();

  if (header->constantsLength > 0) AddStaticRange(header->constants, header->constantsLength);
  InitDllCommands(header->dllCommandCount, header->dllFileNames, header->dllEntryNames);

  rs.libraries.assign(header->libraries, header->libraries + header->libraryCount);
  for (const LibraryDescriptor* library : rs.libraries) {
    if (library && library->notify)
      library->notify(1, static_cast<int32_t>(reinterpret_cast<uintptr_t>(&RuntimeService)), 0);
  }
  rs.libraryValues.assign(rs.libraries.size(), 0);

  if (header->formLength > 0) {
    WindowTable table;
    if (!ReadFormDescription(header->form, header->formLength, table))
      ReportRuntimeError("载入窗口模板数据段出错!", 0);
    RelocateRoutines(table, rs.codeBase);
    for (auto& entry : table) rs.windows[entry.first] = std::move(entry.second);
  }
}

void __stdcall RegisterExitRoutine(ExitRoutineFn routine) { Runtime().exitRoutine = routine; }

void __stdcall LoadStartupWindow(uint32_t windowId) {
  if (Runtime().windows.count(windowId) == 0 || !LoadWindow(windowId, nullptr, false))
    ReportRuntimeError("载入启动窗口失败", 0);
}

void __stdcall RunMessageLoop() {
  Runtime().loopRunning = true;
  if (AnyLiveWindow()) RunLoop(false);
}

}  // namespace rt
