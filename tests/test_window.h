// A window for a test: its class (registered on first use; registering it again
// fails harmlessly) with the window procedure `proc`, created with `style` at 0,0 in
// the given size, owned by no one.  nullptr when creation fails.
#pragma once
#include <windows.h>

namespace testing_support {

inline HWND CreateTestWindow(const char* className, WNDPROC proc, DWORD style, int width, int height,
                             const char* title = "") {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, title, style, 0, 0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace testing_support
