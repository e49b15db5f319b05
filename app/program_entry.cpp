// The program entry routine, the exit routine and the platform's entry.
#include <windows.h>

#include "app/app_ids.h"
#include "app/app_routines.h"
#include "app/program_calls.h"
#include "app/program_header.h"
#include "runtime/program_start.h"

namespace app {

char* g_currentIconSource = nullptr;
char* g_browseInitialFolder = nullptr;

namespace {
// The program's global-variable initialiser: nothing to do, the globals start empty.
void InitialiseGlobals() {}
}  // namespace

int32_t __stdcall ProgramEntry() {
  Svc().indexedService(rt::ServiceInitialiseRuntime, Word(&ProgramHeader()));
  // Default floating-point state: round to nearest, 64-bit precision, all masked.
  asm volatile("fninit");
  InitialiseGlobals();
  Svc().indexedService(rt::ServiceRegisterExitRoutine, Word(reinterpret_cast<const void*>(&ExitRoutine)));
  Svc().loadStartupWindow(kMainWindow);
  Svc().runMessageLoop();
  return 0;
}

void __stdcall ExitRoutine() {
  Free(std::exchange(g_currentIconSource, nullptr));
  Free(std::exchange(g_browseInitialFolder, nullptr));
}

}  // namespace app

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  app::ProgramHeader();  // the header and constant block are set up before the runtime reads them
  return rt::RunProgram(&app::ProgramEntry);
}
