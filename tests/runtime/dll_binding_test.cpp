#include "runtime/dll_binding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_box_watch.h"
#include "runtime/runtime_state.h"
#include "tests/suite_labels.h"

namespace {

using Names = std::vector<std::string>;

// Records what the binder asks of the platform and forwards it.
struct LoaderLog {
  Names loads;
  std::vector<HMODULE> unloads;
  int lookups = 0;
};
LoaderLog* g_log = nullptr;

HMODULE WINAPI LoggedLoad(LPCSTR name) {
  g_log->loads.push_back(name);
  return LoadLibraryA(name);
}
BOOL WINAPI LoggedUnload(HMODULE module) {
  g_log->unloads.push_back(module);
  return FreeLibrary(module);
}
FARPROC WINAPI LoggedLookup(HMODULE module, LPCSTR entry) {
  ++g_log->lookups;
  return GetProcAddress(module, entry);
}
const rt::DllLoader kLoggedLoader = {LoggedLoad, LoggedUnload, LoggedLookup};

class DllBinding : public testing::Test {
 protected:
  void SetUp() override {
    g_log = &log_;
    rt::SetDllLoader(&kLoggedLoader);
    savedFolder_ = rt::Runtime().moduleFolder;
    rt::Runtime().moduleFolder = rt_test::ProgramDirectory();
  }
  void TearDown() override {
    rt::ReleaseDllCommands();
    rt::SetDllLoader(nullptr);
    g_log = nullptr;
    rt::Runtime().moduleFolder = savedFolder_;
  }
  void Declare(std::vector<const char*> files, std::vector<const char*> entries) {
    files_ = std::move(files);
    entries_ = std::move(entries);
    rt::InitDllCommands(static_cast<uint32_t>(files_.size()), files_.data(), entries_.data());
  }
  static std::string FixturePath() { return rt_test::ProgramDirectory() + "dllfixture.dll"; }
  static std::string AltFolder() { return rt_test::ProgramDirectory() + "dllfixture_alt\\"; }

  LoaderLog log_;
  std::string savedFolder_;
  std::vector<const char*> files_, entries_;
};

TEST_F(DllBinding, EmptyLibraryBindsFromTheThirdStandardLibrary) {
  Declare({""}, {"SendMessageA"});
  void* address = rt::BindDllCommand(0);
  EXPECT_EQ(log_.loads, (Names{"Kernel32.dll", "Gdi32.dll", "User32.dll"}));
  EXPECT_EQ(log_.unloads, (std::vector<HMODULE>{GetModuleHandleA("kernel32.dll"), GetModuleHandleA("gdi32.dll")}));
  HMODULE user32 = GetModuleHandleA("user32.dll");
  EXPECT_EQ(rt::DllCommandModule(0), user32);
  EXPECT_EQ(address, reinterpret_cast<void*>(GetProcAddress(user32, "SendMessageA")));
}

TEST_F(DllBinding, EmptyLibraryBindsFromTheLastStandardLibrary) {
  Declare({""}, {"SHBrowseForFolderA"});
  void* address = rt::BindDllCommand(0);
  EXPECT_EQ(log_.loads, (Names{"Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"}));
  EXPECT_EQ(log_.unloads.size(), 5u);
  HMODULE shell32 = GetModuleHandleA("shell32.dll");
  EXPECT_EQ(rt::DllCommandModule(0), shell32);
  EXPECT_EQ(address, reinterpret_cast<void*>(GetProcAddress(shell32, "SHBrowseForFolderA")));
}

TEST_F(DllBinding, SecondCallDoesNotLoadAgain) {
  Declare({"", "shlwapi.dll"}, {"SendMessageA", "PathFindExtensionA"});
  EXPECT_EQ(rt::DllCommandModule(1), nullptr);
  void* first = rt::BindDllCommand(1);
  size_t loads = log_.loads.size();
  int lookups = log_.lookups;
  EXPECT_EQ(rt::BindDllCommand(1), first);
  const char* path = "C:\\dir\\file.txt";
  EXPECT_EQ(rt::CallDll(1, path), rt::DllWord(path + 11));
  EXPECT_EQ(log_.loads.size(), loads);
  EXPECT_EQ(log_.lookups, lookups);
  EXPECT_TRUE(log_.unloads.empty());
}

TEST_F(DllBinding, EachCommandKeepsItsOwnModuleUntilRelease) {
  std::string path = FixturePath();
  Declare({path.c_str(), path.c_str()}, {"FixtureAdd", "FixtureTag"});
  rt::BindDllCommand(0);
  rt::BindDllCommand(1);
  EXPECT_EQ(log_.loads, (Names{path, path}));
  HMODULE module = GetModuleHandleA(path.c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(rt::DllCommandModule(0), module);
  EXPECT_EQ(rt::DllCommandModule(1), module);
  rt::ReleaseDllCommands();
  EXPECT_EQ(log_.unloads, (std::vector<HMODULE>{module, module}));
  EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "both loads were released";
  EXPECT_EQ(rt::DllCommandModule(0), nullptr);
}

TEST_F(DllBinding, RelativeNameTriesTheProgramFolderFirst) {
  rt::Runtime().moduleFolder = AltFolder();
  Declare({"dllfixture.dll"}, {"FixtureTag"});
  EXPECT_EQ(rt::CallDll(0), 2u);
  EXPECT_EQ(log_.loads, (Names{AltFolder() + "dllfixture.dll"}));
}

TEST_F(DllBinding, RelativeNameFallsBackToThePlatformSearch) {
  std::string empty = rt_test::ProgramDirectory() + "no_such_folder\\";
  rt::Runtime().moduleFolder = empty;
  Declare({"dllfixture.dll"}, {"FixtureTag"});
  EXPECT_EQ(rt::CallDll(0), 1u);
  EXPECT_EQ(log_.loads, (Names{empty + "dllfixture.dll", "dllfixture.dll"}));
}

TEST_F(DllBinding, EmptyModuleFolderIsTakenFromTheProgramFile) {
  rt::Runtime().moduleFolder.clear();
  Declare({"dllfixture.dll"}, {"FixtureTag"});
  EXPECT_EQ(rt::CallDll(0), 1u);
  EXPECT_EQ(rt::Runtime().moduleFolder, rt_test::ProgramDirectory());
  EXPECT_EQ(log_.loads, (Names{FixturePath()}));
}

TEST_F(DllBinding, NameWithAColonIsLoadedAsIs) {
  std::string alt = AltFolder() + "dllfixture.dll";
  Declare({alt.c_str()}, {"FixtureTag"});
  EXPECT_EQ(rt::CallDll(0), 2u);
  EXPECT_EQ(log_.loads, (Names{alt}));
}

TEST_F(DllBinding, OrdinalsAreTakenModulo65536) {
  Declare({"dllfixture.dll", "dllfixture.dll", "dllfixture.dll"}, {"#65537", "#1", "#131074"});
  HMODULE module = nullptr;
  void* add = rt::BindDllCommand(0);
  module = rt::DllCommandModule(0);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(add, reinterpret_cast<void*>(GetProcAddress(module, "FixtureAdd")));
  EXPECT_EQ(rt::BindDllCommand(1), add);
  EXPECT_EQ(rt::CallDll(0, 40, 2), 42u);
  EXPECT_EQ(rt::CallDll(2), 1u) << "ordinal 2 is FixtureTag";
}

TEST_F(DllBinding, CallsPassArgumentsInDeclarationOrder) {
  Declare({""}, {"SendMessageA"});
  HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  const char* text = "文本";
  EXPECT_EQ(rt::CallDll(0, hwnd, WM_SETTEXT, 0, text), 1u);
  char read[16] = {0};
  GetWindowTextA(hwnd, read, sizeof read);
  EXPECT_STREQ(read, text);
  DestroyWindow(hwnd);
}

int __stdcall Sum3(int a, int b, int c) { return a + 2 * b + 3 * c; }
int __cdecl CdeclSum(int a, int b) { return a + b; }

PURE_SUITE(DllCallStackCheck);

TEST(DllCallStackCheck, DifferenceAfterTheCall) {
  int32_t difference = 99;
  uint32_t args[] = {1, 10, 100};
  EXPECT_EQ(rt::CallWithStackCheck(reinterpret_cast<void*>(Sum3), args, 3, &difference), 321u);
  EXPECT_EQ(difference, 0);
  // Two pushed, three removed: the missing argument reads as 0 and the stack is 4 bytes off.
  EXPECT_EQ(rt::CallWithStackCheck(reinterpret_cast<void*>(Sum3), args, 2, &difference), 21u);
  EXPECT_EQ(difference, 4);
  uint32_t four[] = {1, 10, 100, 1000};
  EXPECT_EQ(rt::CallWithStackCheck(reinterpret_cast<void*>(Sum3), four, 4, &difference), 321u);
  EXPECT_EQ(difference, -4);
  // A function that leaves its arguments to the caller.
  EXPECT_EQ(rt::CallWithStackCheck(reinterpret_cast<void*>(CdeclSum), args, 2, &difference), 11u);
  EXPECT_EQ(difference, -8);
  EXPECT_EQ(rt::CallWithStackCheck(reinterpret_cast<void*>(CdeclSum), nullptr, 0, &difference),
            static_cast<uint32_t>(CdeclSum(0, 0)));
  EXPECT_EQ(difference, 0);
}

// The fatal paths end the process, so they run in the fixture program and are watched
// from here: the report's box, its text, then the exit code after OK.
struct FatalRun {
  bool boxFound = false;
  std::string text;
  DWORD exitCode = 0;
};

FatalRun RunFatalFixture(const char* mode) {
  FatalRun run;
  std::string command = "\"" + rt_test::ProgramDirectory() + "fatal_fixture.exe\" " + mode;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "cannot start " << command;
    return run;
  }
  HWND box = rt_test::WaitForBox("错误", 20000);
  if (box) {
    run.boxFound = true;
    run.text = rt_test::BoxText(box);
    rt_test::PressButton(box, IDOK);
  }
  if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << mode << ": the fixture did not end";
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

TEST(DllBindingFatal, ReportsAndExitCodes) {
  struct Case {
    const char* mode;
    const char* text;
  } cases[] = {
      {"named-entry",
       "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“shlwapi.dll”中的输出命令“NoSuchExportXyz”\r\n"},
      {"default-entry", "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExportXyz”\r\n"},
      {"missing-library",
       "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“nosuchlibrary_x7.dll”中的输出命令“Foo”\r\n"},
      {"out-of-range", "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“”\r\n"},
      {"stack", "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
      {"index-low", "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
      {"index-high", "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
  };
  for (const Case& c : cases) {
    FatalRun run = RunFatalFixture(c.mode);
    ASSERT_TRUE(run.boxFound) << c.mode << ": no box captioned 错误";
    EXPECT_EQ(run.text, c.text) << c.mode;
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu) << c.mode;
  }
}

}  // namespace
