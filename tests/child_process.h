// Processes that tests start: they run inside a job that ends them with the test
// program, and a helper still running when its owner goes is killed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// A job that ends every process put in it when the test program ends, however it
// ends: a test program that crashes leaves no tool behind.
inline HANDLE TestJob() {
  static HANDLE job = [] {
    HANDLE j = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (j) SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return j;
  }();
  return job;
}

// Starts a program with the command line, inside TestJob().
inline bool StartInJob(const std::string& program, const std::string& commandLine, PROCESS_INFORMATION* info) {
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  if (!CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                      &si, info))
    return false;
  if (TestJob()) AssignProcessToJobObject(TestJob(), info->hProcess);
  ResumeThread(info->hThread);
  return true;
}

// A helper process started by the test; one still running at the end is killed.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (!info_.hProcess) return;
    if (!Ended()) {
      TerminateProcess(info_.hProcess, 0xDEAD);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Start(const std::string& program, const std::string& arguments) {
    return StartInJob(program, "\"" + program + "\" " + arguments, &info_);
  }
  bool Ended() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
  HANDLE handle() const { return info_.hProcess; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  bool WaitEnded(DWORD timeoutMs) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }

 private:
  PROCESS_INFORMATION info_ = {};
};

}  // namespace testing_support
