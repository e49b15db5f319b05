#include "runtime/program_shutdown.h"

#include <windows.h>
#include <ole2.h>

#include "runtime/dll_binding.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/window_loader.h"

namespace rt {

void Shutdown(int32_t code) {
  RuntimeState& rs = Runtime();
  ++rs.eventBlockCount;

  if (rs.uiThreadId != 0 && GetCurrentThreadId() != rs.uiThreadId) {
    if (rs.messageWindow) SendMessageA(rs.messageWindow, EndProgramMessage, static_cast<WPARAM>(code), 0);
    if (!rs.shutdownRunning) ExitProcess(static_cast<UINT>(code));
    return;
  }
  rs.shutdownRunning = true;
  rs.idleCallbacks.clear();

  UnloadAllWindows();

  if (ExitRoutineFn routine = rs.exitRoutine) {
    rs.exitRoutine = nullptr;
    routine();
  }

  for (size_t i = 0; i < rs.libraries.size(); ++i) {
    const LibraryDescriptor* library = rs.libraries[i];
    if (library && library->notify) library->notify(6, i < rs.libraryValues.size() ? rs.libraryValues[i] : 0, 0);
  }
  rs.libraries.clear();
  rs.libraryValues.clear();

  ReleaseDllCommands();
  ClearStaticRanges();

  if (rs.defaultBigIcon) DestroyIcon(rs.defaultBigIcon);
  if (rs.defaultSmallIcon && rs.defaultSmallIcon != rs.defaultBigIcon) DestroyIcon(rs.defaultSmallIcon);
  rs.defaultBigIcon = rs.defaultSmallIcon = nullptr;

  if (rs.messageWindow) {
    DestroyWindow(rs.messageWindow);
    rs.messageWindow = nullptr;
  }
  if (rs.oleInitialised) {
    rs.oleInitialised = false;
    OleUninitialize();
  }
}

void __stdcall EndProgram(int32_t code) {
  Shutdown(code);
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace rt
