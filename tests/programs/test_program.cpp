// A minimal program image: header, constant block, two libraries and a form with one
// window.  It reaches the runtime only through the ServiceTable, as program code does.
// The first command-line argument picks a scenario, the second names a log file to
// which the libraries and the exit routine append what happens to them.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/program_image.h"
#include "runtime/program_run.h"
#include "runtime/service_table.h"
#include "runtime/window_table.h"

namespace {

std::string g_scenario;
std::string g_logPath;
int g_argument = 0;

void Log(const char* line) {
  if (g_logPath.empty()) return;
  FILE* f = std::fopen(g_logPath.c_str(), "ab");
  if (!f) return;
  std::fprintf(f, "%s\n", line);
  std::fclose(f);
}

int32_t __stdcall NotifyLibrary1(int32_t code, int32_t, int32_t) {
  char line[32];
  std::snprintf(line, sizeof line, "library1 %d", code);
  Log(line);
  return 0;
}
int32_t __stdcall NotifyLibrary2(int32_t code, int32_t, int32_t) {
  char line[32];
  std::snprintf(line, sizeof line, "library2 %d", code);
  Log(line);
  return 0;
}

rt::LibraryDescriptor MakeLibrary(rt::LibraryNotifyFn notify) {
  rt::LibraryDescriptor d = {};
  d.formatMark = rt::kLibraryFormatMark;
  d.language = 1;
  d.notify = notify;
  return d;
}
const rt::LibraryDescriptor kLibrary1 = MakeLibrary(&NotifyLibrary1);
const rt::LibraryDescriptor kLibrary2 = MakeLibrary(&NotifyLibrary2);
const rt::LibraryDescriptor* const kLibraries[] = {&kLibrary1, &kLibrary2};

const char kConstants[] = "constant block of the test program";
const uint8_t kBrokenForm[] = {16, 0, 0, 0, 1, 0};

rt::ProgramHeader g_header = {};

void __stdcall ExitRoutine() { Log("exit routine"); }

DWORD WINAPI EndFromThread(void*) {
  rt::Services().endProgram(g_argument);
  return 0;
}

int32_t __stdcall ProgramEntry() {
  const rt::ServiceTable& s = rt::Services();
  s.indexedService(rt::ServiceInitialiseRuntime, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&g_header)));
  s.indexedService(rt::ServiceRegisterExitRoutine, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&ExitRoutine)));
  if (g_scenario == "end-program") s.endProgram(g_argument);
  if (g_scenario == "raise") s.raiseRuntimeError(g_argument);
  if (g_scenario == "end-from-thread") {
    HANDLE thread = CreateThread(nullptr, 0, EndFromThread, nullptr, 0, nullptr);
    // The user-interface thread keeps pumping so that it can take the request.
    for (;;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      MsgWaitForMultipleObjects(1, &thread, FALSE, 50, QS_ALLINPUT);
    }
  }
  if (g_scenario == "alloc") s.allocMemory(0x7FFFFFF0);
  s.loadStartupWindow(0x52010001);
  s.runMessageLoop();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc > 1) g_scenario = __argv[1];
  if (__argc > 2) g_logPath = __argv[2];
  if (__argc > 3) g_argument = std::atoi(__argv[3]);

  g_header.programKind = 3;
  g_header.codeBase = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&ProgramEntry));
  g_header.constants = reinterpret_cast<const uint8_t*>(kConstants);
  g_header.constantsLength = sizeof kConstants;
  g_header.libraryCount = 2;
  g_header.libraries = kLibraries;
  if (g_scenario == "broken-form") {
    g_header.form = kBrokenForm;
    g_header.formLength = sizeof kBrokenForm;
  }
  return rt::RunProgram(&ProgramEntry);
}
