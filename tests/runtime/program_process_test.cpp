// Start-up and shutdown of a whole program image, observed from outside the process.
#include <gtest/gtest.h>

#include "process_runner.h"
#include "runtime/error_report.h"
#include "tests/suite_labels.h"

using namespace testing_support;

namespace {

std::string TestProgram() { return TestFolder() + "programs\\test_program.exe"; }

struct ScenarioResult {
  ProcessRun run;
  std::string log;
};

ScenarioResult RunScenario(const std::string& scenario, int argument = 0) {
  ScenarioResult r;
  std::string log = TempFileName("tp");
  r.run = RunProgram(TestProgram(), scenario + " \"" + log + "\" " + std::to_string(argument), "错误");
  r.log = ReadWholeFile(log);
  DeleteFileA(log.c_str());
  return r;
}

const char kStartAndStop[] =
    "library1 1\nlibrary2 1\nexit routine\nlibrary1 6\nlibrary2 6\n";
const char kStartAndFatalStop[] = "library1 1\nlibrary2 1\nlibrary1 6\nlibrary2 6\n";

const char kWindowRun[] =
    "library1 1\nlibrary2 1\ncreated\nexit routine\nlibrary1 6\nlibrary2 6\n";

}  // namespace

TEST(ProgramProcess, ClosingTheLastWindowEndsTheLoopWithExitCodeZero) {
  std::string log = TempFileName("tp");
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + TestProgram() + "\" window \"" + log + "\" 0";
  ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND window = nullptr;
  // The window exists while its creation events run; it is shown after them.
  for (int i = 0; i < 1200 && !(window && IsWindowVisible(window)); ++i) {
    Sleep(50);
    window = FindWindowA("WTWindow", "测试程序");
  }
  if (!window) TerminateProcess(pi.hProcess, 0xDEAD);
  ASSERT_NE(window, nullptr);
  // Centred on the 1024 x 768 screen.
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_EQ(r.left, (1024 - 320) / 2);
  EXPECT_EQ(r.top, (768 - 200) / 2);
  EXPECT_TRUE(IsWindowVisible(window));
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 0xDEAD);
    ADD_FAILURE() << "the program did not end after its last window closed";
  }
  DWORD code = 0xDEAD;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(ReadWholeFile(log), kWindowRun);
  DeleteFileA(log.c_str());
}

TEST(ProgramProcess, EndProgramInsideAnEventEndsWithItsCode) {
  ScenarioResult r = RunScenario("end-in-event", 5);
  ASSERT_TRUE(r.run.finished);
  EXPECT_EQ(r.run.exitCode, 5u);
  EXPECT_EQ(r.log, kWindowRun);
}

TEST(ProgramProcess, WindowGoneBeforeTheLoopMeansTheLoopDoesNotRun) {
  ScenarioResult r = RunScenario("close-in-created");
  ASSERT_TRUE(r.run.finished);
  EXPECT_EQ(r.run.exitCode, 0u);
  EXPECT_EQ(r.log, kWindowRun);
}

TEST(ProgramProcess, EndProgramExitsWithItsCodeAfterAnOrderedShutdown) {
  ScenarioResult r = RunScenario("end-program", 7);
  ASSERT_TRUE(r.run.finished);
  EXPECT_EQ(r.run.exitCode, 7u);
  EXPECT_TRUE(r.run.boxTexts.empty());
  EXPECT_EQ(r.log, kStartAndStop);
}

TEST(ProgramProcess, EndProgramFromAnotherThreadRunsShutdownOnTheInterfaceThread) {
  ScenarioResult r = RunScenario("end-from-thread", 9);
  ASSERT_TRUE(r.run.finished);
  EXPECT_EQ(r.run.exitCode, 9u);
  EXPECT_EQ(r.log, kStartAndStop);
}

// The run ended with exactly one run-time error report, `box`, and exit code -1.
void ExpectFatalReport(const ScenarioResult& r, const std::string& box) {
  ASSERT_TRUE(r.run.finished);
  EXPECT_EQ(r.run.exitCode, 0xFFFFFFFFu);
  ASSERT_EQ(r.run.boxTexts.size(), 1u);
  EXPECT_EQ(r.run.boxTexts[0], box);
}

TEST(ProgramProcess, RaisedErrorShowsTheReportAndSkipsTheExitRoutine) {
  ScenarioResult r = RunScenario("raise", 1);
  ASSERT_NO_FATAL_FAILURE(
      ExpectFatalReport(r, "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"));
  EXPECT_EQ(r.log, kStartAndFatalStop);
}

TEST(ProgramProcess, EmptyFormDescriptionCannotLoadTheStartupWindow) {
  ScenarioResult r = RunScenario("empty-form");
  ASSERT_NO_FATAL_FAILURE(ExpectFatalReport(r, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"));
  EXPECT_EQ(r.log, kStartAndFatalStop);
}

TEST(ProgramProcess, BrokenFormDescriptionIsFatalAtStartup) {
  ExpectFatalReport(RunScenario("broken-form"), "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n");
}

TEST(ProgramProcess, ExhaustedMemoryReportsTheRequestedSize) {
  ExpectFatalReport(RunScenario("alloc"), "运行时出错!\r\n\r\n错误信息：分配 2147483632 字节内存失败!\r\n");
}

PURE_SUITE(RuntimeErrorText);

TEST(RuntimeErrorText, LayoutOfHeadingCodeAndMessage) {
  EXPECT_EQ(rt::FormatRuntimeErrorText("", 0), "运行时出错!\r\n\r\n");
  EXPECT_EQ(rt::FormatRuntimeErrorText(nullptr, 6), "运行时出错!\r\n\r\n错误代码：6\r\n\r\n");
  EXPECT_EQ(rt::FormatRuntimeErrorText("m", 0), "运行时出错!\r\n\r\n错误信息：m\r\n");
}
