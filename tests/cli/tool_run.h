// Runs the built extract-icons.exe as a user would and captures what it prints: its
// standard output and error streams go to files, read back with line ends as "\n".
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "iconres/icon_test_support.h"

namespace clitest {

struct ToolRun {
  DWORD exitCode = 0xDEADBEEF;
  std::string out;
  std::string err;
};

inline std::string ToolPath() { return icontest::ProgramFolder() + "\\..\\cli\\extract-icons.exe"; }

inline std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = icontest::ReadWholeFile(path);
  std::string text;
  for (uint8_t b : bytes)
    if (b != '\r') text += static_cast<char>(b);
  return text;
}

// Starts the tool with the command line arguments in `folder` (the current folder when
// empty), its output streams going to the files "out" and "err" of `streams`; the
// process handle, or null.
inline HANDLE StartTool(const std::string& arguments, const std::string& folder, const icontest::TempFolder& streams) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA((streams / "out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                           nullptr);
  HANDLE err = CreateFileA((streams / "err").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                           nullptr);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = out;
  si.hStdError = err;
  std::string commandLine = "\"" + ToolPath() + "\" " + arguments;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(0);
  PROCESS_INFORMATION pi = {};
  const bool started = CreateProcessA(ToolPath().c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      folder.empty() ? nullptr : folder.c_str(), &si, &pi) != FALSE;
  CloseHandle(out);
  CloseHandle(err);
  if (!started) return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

// Runs the tool as StartTool does and waits for it, up to two minutes.
inline ToolRun RunTool(const std::string& arguments, const std::string& folder = "") {
  ToolRun run;
  icontest::TempFolder streams;
  const HANDLE process = StartTool(arguments, folder, streams);
  if (!process) return run;
  if (WaitForSingleObject(process, 120000) != WAIT_OBJECT_0) TerminateProcess(process, 0xDEAD);
  GetExitCodeProcess(process, &run.exitCode);
  CloseHandle(process);
  run.out = ReadText(streams / "out");
  run.err = ReadText(streams / "err");
  return run;
}

// Every file under folder as a path relative to it, sorted.
inline std::vector<std::string> FilesUnder(const std::string& folder, const std::string& prefix = "") {
  std::vector<std::string> files;
  for (const std::string& name : icontest::FilesIn(folder)) {
    const std::string path = folder + "\\" + name;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::string& f : FilesUnder(path, prefix + name + "\\")) files.push_back(f);
    } else {
      files.push_back(prefix + name);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
    lines.push_back(text.substr(from, end - from));
  if (from < text.size()) lines.push_back(text.substr(from));
  return lines;
}

}  // namespace clitest
