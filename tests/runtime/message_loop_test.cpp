// The idle phase of the message loop and the message pump.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/message_loop.h"
#include "test_window.h"

namespace {

int g_liveCalls = 0;
int g_deadCalls = 0;
int32_t g_lastParameter = 0;

void __stdcall LiveIdle(int32_t parameter) {
  ++g_liveCalls;
  g_lastParameter = parameter;
  // Ends the modal loop that the test runs.
  rt::Runtime().modalWindowId = 0;
}
void __stdcall DeadIdle(int32_t) { ++g_deadCalls; }

HWND NewHiddenWindow() {
  return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

class IdleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_liveCalls = g_deadCalls = 0;
    rt::Runtime().idleCallbacks.clear();
  }
  void TearDown() override {
    rt::Runtime().idleCallbacks.clear();
    rt::Runtime().modalWindowId = 0;
  }
};

}  // namespace

TEST_F(IdleTest, CallbackOfADestroyedWindowIsRemovedWithoutBeingCalled) {
  HWND live = NewHiddenWindow();
  HWND dead = NewHiddenWindow();
  rt::RegisterIdleCallback(live, &LiveIdle, 77);
  rt::RegisterIdleCallback(dead, &DeadIdle, 0);
  ASSERT_EQ(rt::Runtime().idleCallbacks.size(), 2u);
  DestroyWindow(dead);
  rt::PumpWaitingMessages();

  rt::Runtime().modalWindowId = 0x52010001;
  rt::RunLoop(true);  // returns once the live callback clears the modal window id

  EXPECT_EQ(g_liveCalls, 1);
  EXPECT_EQ(g_lastParameter, 77);
  EXPECT_EQ(g_deadCalls, 0);
  ASSERT_EQ(rt::Runtime().idleCallbacks.size(), 1u);
  EXPECT_EQ(rt::Runtime().idleCallbacks[0].window, live);
  DestroyWindow(live);
}

DWORD WINAPI PostQuitLater(void* thread) {
  Sleep(200);
  PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<uintptr_t>(thread)), WM_QUIT, 9, 0);
  return 0;
}

TEST_F(IdleTest, ModalLoopThatTakesTheQuitRequestPostsItAgain) {
  rt::Runtime().modalWindowId = 0x52010001;
  // The request arrives while the loop waits for a message, after it looked for a waiting one.
  HANDLE poster = CreateThread(nullptr, 0, &PostQuitLater,
                               reinterpret_cast<void*>(static_cast<uintptr_t>(GetCurrentThreadId())), 0, nullptr);
  ASSERT_NE(poster, nullptr);
  rt::RunLoop(true);
  WaitForSingleObject(poster, INFINITE);
  CloseHandle(poster);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit request is left for the outer loop";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(IdleTest, RegistrationRejectsNullDuplicateAndNonWindows) {
  HWND w = NewHiddenWindow();
  rt::RegisterIdleCallback(w, &LiveIdle, 1);
  rt::RegisterIdleCallback(w, &DeadIdle, 2);  // same window: ignored
  rt::RegisterIdleCallback(nullptr, &LiveIdle, 3);
  rt::RegisterIdleCallback(reinterpret_cast<HWND>(0x12345), &LiveIdle, 4);
  rt::RegisterIdleCallback(NewHiddenWindow(), nullptr, 5);
  ASSERT_EQ(rt::Runtime().idleCallbacks.size(), 1u);
  EXPECT_EQ(rt::Runtime().idleCallbacks[0].parameter, 1);
  rt::UnregisterIdleCallback(w);
  EXPECT_TRUE(rt::Runtime().idleCallbacks.empty());
  DestroyWindow(w);
}

TEST(MessagePump, WaitingMessagesArePumpedAndQuitStaysQueued) {
  static int posted = 0;
  posted = 0;
  struct Proc {
    static LRESULT CALLBACK Wnd(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_APP) ++posted;
      return DefWindowProcA(h, m, w, l);
    }
  };
  HWND w = testing_support::CreateTestWindow("PumpTestWindow", &Proc::Wnd, 0, 1, 1);
  PostMessageA(w, WM_APP, 0, 0);
  PostMessageA(w, WM_APP, 0, 0);
  PostQuitMessage(5);
  rt::PumpWaitingMessages();
  EXPECT_EQ(posted, 2);
  MSG msg;
  // The quit request is still there for the main loop.
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_FALSE(rt::PumpMessage());
  DestroyWindow(w);
}
