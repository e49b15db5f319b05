#include "runtime/kernel_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "command_call.h"
#include "message_box_watch.h"
#include "runtime/heap.h"
#include "test_window.h"
#include "tests/suite_labels.h"

using rt::ArgRecord;
using rt_test::CallCommand;

namespace {

bool Exists(const std::string& path) {
  rt::ResultRecord r = CallCommand(rt::FileExists, {rt::TextArg(path.c_str())});
  EXPECT_EQ(r.tag, rt::TagBool);
  return r.value != 0;
}

class FileExistsTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = std::string(temp) + "kc_exists_" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    file_ = folder_ + "\\数据.txt";
    HANDLE h = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  void TearDown() override {
    DeleteFileA(file_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  std::string folder_, file_;
};

PURE_SUITE(FileExistsTest);

TEST_F(FileExistsTest, FileFolderAndWildcardMatch) {
  EXPECT_TRUE(Exists(file_));
  EXPECT_TRUE(Exists(folder_));
  EXPECT_TRUE(Exists(folder_ + "\\*.txt"));
  EXPECT_TRUE(Exists(folder_ + "\\数?.*"));
}

TEST_F(FileExistsTest, NothingMatches) {
  EXPECT_FALSE(Exists(folder_ + "\\missing.txt"));
  EXPECT_FALSE(Exists(folder_ + "\\*.xyz"));
  EXPECT_FALSE(Exists(folder_ + "\\no_such_folder\\a.txt"));
  EXPECT_FALSE(Exists(""));
  rt::ResultRecord r = CallCommand(rt::FileExists, {rt::TextArg(nullptr)});
  EXPECT_EQ(r.value, 0u);
}

// What a watcher thread saw of a message box while it was open.
struct BoxSeen {
  bool found = false;
  std::string text;
  bool probeEnabled = true;
};

// Shows InfoBox on this thread while another thread looks at the box and presses id.
int32_t InfoBoxAnswered(std::initializer_list<ArgRecord> args, const char* caption, int id, HWND probe,
                        BoxSeen* seen) {
  std::thread watcher([&] {
    HWND box = rt_test::WaitForBox(caption, 20000);
    if (!box) return;
    seen->found = true;
    seen->text = rt_test::BoxText(box);
    seen->probeEnabled = probe ? IsWindowEnabled(probe) != FALSE : true;
    rt_test::PressButton(box, id);
  });
  rt::ResultRecord r = CallCommand(rt::InfoBox, args);
  watcher.join();
  EXPECT_EQ(r.tag, rt::TagInt);
  return static_cast<int32_t>(r.value);
}

class InfoBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    probe_ = CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(probe_, nullptr);
  }
  void TearDown() override { DestroyWindow(probe_); }
  HWND probe_ = nullptr;
};

TEST_F(InfoBoxTest, StyleZeroIsATaskModalOkBoxWithTheDefaultCaption) {
  BoxSeen seen;
  int32_t answer = InfoBoxAnswered({rt::DoubleArg(24.0), rt::IntArg(0), rt::OmittedArg()}, "信息：", IDOK, probe_, &seen);
  ASSERT_TRUE(seen.found) << "no box captioned 信息：";
  EXPECT_EQ(seen.text, "24");
  EXPECT_FALSE(seen.probeEnabled) << "the thread's windows are disabled while a task-modal box is open";
  EXPECT_TRUE(IsWindowEnabled(probe_));
  EXPECT_EQ(answer, 0);
}

TEST_F(InfoBoxTest, SystemModalStyleIsNotMadeTaskModal) {
  BoxSeen seen;
  int32_t answer = InfoBoxAnswered({rt::TextArg("系统"), rt::IntArg(MB_SYSTEMMODAL), rt::TextArg("系统框")}, "系统框",
                                   IDOK, probe_, &seen);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "系统");
  EXPECT_TRUE(seen.probeEnabled);
  EXPECT_EQ(answer, 0);
}

TEST_F(InfoBoxTest, AnswersMapToButtonNumbers) {
  struct Case {
    UINT style;
    int button;
    int32_t expected;
  } cases[] = {
      {MB_OKCANCEL, IDCANCEL, 1},
      {MB_ABORTRETRYIGNORE, IDRETRY, 3},
      {MB_YESNOCANCEL, IDNO, 6},
  };
  for (const Case& c : cases) {
    BoxSeen seen;
    int32_t answer = InfoBoxAnswered({rt::TextArg("问题"), rt::IntArg(static_cast<int32_t>(c.style)), rt::TextArg("回答")},
                                     "回答", c.button, nullptr, &seen);
    ASSERT_TRUE(seen.found) << "style " << c.style;
    EXPECT_EQ(answer, c.expected) << "style " << c.style << " button " << c.button;
  }
}

TEST_F(InfoBoxTest, ValuesShowAsText) {
  ArgRecord date = rt::DoubleArg(45477.5);
  date.tag = rt::TagDateTime;
  void* bytes = rt::NewByteSet("AB", 2);
  struct Case {
    ArgRecord value;
    const char* text;
  } cases[] = {
      {date, "2024年7月4日12时"},
      {ArgRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bytes)), 0, rt::TagBytes}, ""},
  };
  for (const Case& c : cases) {
    BoxSeen seen;
    InfoBoxAnswered({c.value, rt::IntArg(0), rt::TextArg("值")}, "值", IDOK, nullptr, &seen);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, c.text);
  }
  rt::FreeMemory(bytes);
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(ProcessEvents, DispatchesWaitingMessagesAndLeavesQuitQueued) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  // An empty queue: returns at once.
  CallCommand(rt::ProcessEvents, {});

  HWND hwnd = testing_support::CreateTestWindow("KernelCommandsCounting", CountingProc, WS_POPUP, 1, 1);
  ASSERT_NE(hwnd, nullptr);
  int count = 0;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));

  PostMessageA(hwnd, WM_APP, 0, 0);
  PostMessageA(hwnd, WM_APP, 0, 0);
  PostMessageA(hwnd, WM_QUIT, 7, 0);
  PostMessageA(hwnd, WM_APP, 0, 0);
  CallCommand(rt::ProcessEvents, {});
  EXPECT_EQ(count, 2);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);

  // With the quit taken, the rest is dispatched.
  CallCommand(rt::ProcessEvents, {});
  EXPECT_EQ(count, 3);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  DestroyWindow(hwnd);
}

}  // namespace
