// A minimal program image: header, constant block, two libraries and a form with one
// window.  It reaches the runtime only through the ServiceTable, as program code does.
// The first command-line argument picks a scenario, the second names a log file to
// which the libraries and the exit routine append what happens to them.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "components/kernel_library.h"
#include "formats/records/window_data.h"
#include "formats/records/form_description.h"
#include "runtime/program_image.h"
#include "runtime/program_start.h"
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
const rt::LibraryDescriptor* const kLibraries[] = {&comp::KernelLibrary(), &kLibrary1, &kLibrary2};

const char kConstants[] = "constant block of the test program";
const uint8_t kBrokenForm[] = {16, 0, 0, 0, 1, 0};

rt::ProgramHeader g_header = {};
std::vector<uint8_t> g_form;
HWND g_window = nullptr;

// The window's created event (event 0).  Routines answer in the high word whether they
// gave a result; this one gives none.
uint64_t __stdcall OnWindowCreated() {
  Log("created");
  g_window = FindWindowA("WTWindow", "测试程序");
  if (g_scenario == "end-in-event") rt::Services().endProgram(g_argument);
  if (g_scenario == "close-in-created") DestroyWindow(g_window);
  return 0;
}

// Event routines are referenced as offsets from the code base: here the entry routine.
int32_t RoutineOffset(const void* routine, const void* codeBase) {
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(routine) - reinterpret_cast<uintptr_t>(codeBase));
}

std::vector<uint8_t> BuildForm(const void* codeBase) {
  comp::WindowData properties;
  properties.caption = "测试程序";
  properties.minButton = true;
  rt::ElementTemplate window;
  window.id = 0x06010000;
  window.typeId = rt::TypeWindow;
  window.width = 320;
  window.height = 200;
  window.stateFlags = rt::StateVisible;
  window.events.push_back({0, RoutineOffset(reinterpret_cast<const void*>(&OnWindowCreated), codeBase), 0});
  window.events.push_back({1, rt::kNoRoutineOffset, 0});
  window.properties = properties.Write();
  rt::WindowTemplate form;
  form.id = 0x52010001;
  form.elements.push_back(window);
  rt::WindowTable table;
  table[form.id] = form;
  return rt::WriteFormDescription(table);
}

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
  g_header.libraryCount = 3;
  g_header.libraries = kLibraries;
  if (g_scenario == "broken-form") {
    g_header.form = kBrokenForm;
    g_header.formLength = sizeof kBrokenForm;
  } else if (g_scenario != "empty-form") {
    g_form = BuildForm(reinterpret_cast<const void*>(&ProgramEntry));
    g_header.form = g_form.data();
    g_header.formLength = static_cast<uint32_t>(g_form.size());
  }
  return rt::RunProgram(&ProgramEntry);
}
