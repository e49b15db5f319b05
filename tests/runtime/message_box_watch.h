// Finding and answering message boxes from outside: another thread of the test program
// or the test program watching a child process.
#pragma once
#include <windows.h>

#include <string>

namespace rt_test {

// Polls for a top-level dialog window with the caption for up to timeoutMs.
inline HWND WaitForBox(const char* caption, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND box = FindWindowA("#32770", caption);
    if (box && IsWindowVisible(box)) return box;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

// The message text of a message box (its static control has id 0xFFFF).
inline std::string BoxText(HWND box) {
  char text[2048] = {0};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

inline void PressButton(HWND box, int id) {
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

// The directory of the running test program, with its trailing backslash.
inline std::string ProgramDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace rt_test
