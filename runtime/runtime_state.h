// The runtime's central object: one per process, created before the program starts.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/program_image.h"
#include "runtime/window_table.h"

namespace rt {

using ExitRoutineFn = void(__stdcall*)();
using IdleRoutineFn = void(__stdcall*)(int32_t parameter);

struct IdleCallback {
  HWND window;
  IdleRoutineFn routine;
  int32_t parameter;
};

struct RuntimeState {
  HANDLE heap = nullptr;
  const ProgramHeader* header = nullptr;
  uint32_t programKind = 0;
  uint32_t reserved1 = 0;
  uint32_t reserved2PlusOne = 0;
  uint32_t codeBase = 0;

  std::string moduleFolder;     // with its trailing backslash (DLL search)
  std::string programFolder;    // no trailing backslash
  std::string programFileName;

  WindowTable windows;
  std::vector<const LibraryDescriptor*> libraries;
  std::vector<int32_t> libraryValues;

  DWORD uiThreadId = 0;
  HWND messageWindow = nullptr;
  int32_t eventBlockCount = 0;
  ExitRoutineFn exitRoutine = nullptr;
  std::vector<IdleCallback> idleCallbacks;
  bool loopRunning = false;
  uint32_t modalWindowId = 0;
  bool shutdownRunning = false;
  bool oleInitialised = false;
  bool socketsStarted = false;
  bool recreating = false;           // a component re-creation is in progress
  uint32_t eventSourceWindowId = 0;  // the event being dispatched
  uint32_t eventSourceElementId = 0;
  HICON defaultBigIcon = nullptr;
  HICON defaultSmallIcon = nullptr;
};

RuntimeState& Runtime();

// Resolves a component type id to its type info through the library table; null when
// the library or type number is out of range or the entry is a placeholder.
const ComponentTypeInfo* ResolveComponentType(uint32_t typeId);

}  // namespace rt
