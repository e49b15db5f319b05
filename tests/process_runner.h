// Runs a program of the project as a separate process and deals with the message
// boxes it shows, as a user would: find the box by its caption, read its text, press OK.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Folder of the running test program, with a trailing backslash.
inline std::string TestFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\') + 1);
}

struct ProcessRun {
  bool started = false;
  bool finished = false;      // ended within the time limit
  DWORD exitCode = 0;
  std::vector<std::string> boxTexts;  // texts of the boxes with the awaited caption, in order
};

// Text of a message box's message (the static control 0xFFFF), read through messages.
inline std::string MessageBoxText(HWND box) {
  char text[4096] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

// Starts program with the command line, presses OK on every box captioned
// boxCaption (recording its text) and waits up to timeoutMs for the process to end.
inline ProcessRun RunProgram(const std::string& program, const std::string& arguments, const char* boxCaption,
                             DWORD timeoutMs = 60000) {
  ProcessRun run;
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(0);
  if (!CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return run;
  run.started = true;
  DWORD start = GetTickCount();
  for (;;) {
    if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) {
      run.finished = true;
      break;
    }
    if (GetTickCount() - start > timeoutMs) break;
    if (!boxCaption) continue;
    HWND box = FindWindowA(nullptr, boxCaption);
    if (!box) continue;
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    if (pid != pi.dwProcessId) continue;
    Sleep(200);  // let the box finish its layout
    run.boxTexts.push_back(MessageBoxText(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // Wait for this box to go before looking for the next one.
    for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
  }
  if (!run.finished) TerminateProcess(pi.hProcess, 0xDEAD);
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

// A fresh temporary file name for a log; the file does not exist yet.
inline std::string TempFileName(const char* prefix) {
  char folder[MAX_PATH] = {};
  char name[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, prefix, 0, name);
  DeleteFileA(name);
  return name;
}

inline std::string ReadWholeFile(const std::string& path) {
  std::string text;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got) text.append(chunk, got);
  CloseHandle(f);
  return text;
}

}  // namespace testing_support
