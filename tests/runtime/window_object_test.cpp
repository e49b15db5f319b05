// The window-object layer: the private object query (0x8002), the pre-translation walk
// that uses it, and who owns the object of a window that fails to be created.
#include "runtime/window_object.h"

#include <gtest/gtest.h>

#include "runtime/window_loader.h"
#include "test_window.h"

namespace {

class Recorder : public rt::WindowObject {
 public:
  int seen = 0;
  bool consume = true;
  bool PreTranslateMessage(MSG*) override {
    ++seen;
    return consume;
  }
};

LRESULT g_reported = 0;  // what the plain window answers to the query
LRESULT CALLBACK PlainProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == rt::kMsgQueryObject) return g_reported;
  return DefWindowProcA(h, msg, wParam, lParam);
}

class WindowObjectQuery : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rt::WindowObject::RegisterObjectClass("QueryTestObject", 0, nullptr, nullptr));
    recorder_ = new Recorder;  // deletes itself with its window
    ASSERT_NE(recorder_->CreateObjectWindow(0, "QueryTestObject", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr),
              nullptr);
    plain_ = testing_support::CreateTestWindow("QueryTestPlain", &PlainProc, WS_POPUP, 10, 10);
    ASSERT_NE(plain_, nullptr);
    g_reported = 0;
  }
  void TearDown() override {
    DestroyWindow(plain_);
    if (recorder_ && recorder_->hwnd()) DestroyWindow(recorder_->hwnd());
  }
  MSG MessageTo(HWND h) { return MSG{h, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}}; }

  Recorder* recorder_ = nullptr;
  HWND plain_ = nullptr;
};

TEST_F(WindowObjectQuery, EveryObjectAnswersWithItself) {
  EXPECT_EQ(SendMessageA(recorder_->hwnd(), rt::kMsgQueryObject, 0, 0), reinterpret_cast<LRESULT>(recorder_));
  EXPECT_EQ(rt::WindowObject::Query(recorder_->hwnd()), recorder_);
  EXPECT_EQ(rt::WindowObject::Query(nullptr), nullptr);
}

TEST_F(WindowObjectQuery, WindowReportingAnObjectIsPreTranslatedByThatObject) {
  g_reported = reinterpret_cast<LRESULT>(static_cast<rt::WindowObject*>(recorder_));
  EXPECT_EQ(rt::WindowObject::FromHandle(plain_), nullptr);
  EXPECT_EQ(rt::WindowObject::Query(plain_), recorder_);
  MSG msg = MessageTo(plain_);
  EXPECT_TRUE(rt::PreTranslateWindowMessage(&msg));
  EXPECT_EQ(recorder_->seen, 1);
  recorder_->consume = false;
  EXPECT_FALSE(rt::PreTranslateWindowMessage(&msg));
  EXPECT_EQ(recorder_->seen, 2);
}

TEST_F(WindowObjectQuery, AnswersThatAreNoLiveObjectAreIgnored) {
  static int notAnObject = 0;
  MSG msg = MessageTo(plain_);
  for (LRESULT answer : {LRESULT(0), reinterpret_cast<LRESULT>(&notAnObject), LRESULT(1), LRESULT(-1)}) {
    g_reported = answer;
    EXPECT_EQ(rt::WindowObject::Query(plain_), nullptr) << answer;
    EXPECT_FALSE(rt::PreTranslateWindowMessage(&msg)) << answer;
  }
  EXPECT_EQ(recorder_->seen, 0);
  // A system control knows nothing of the query.
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(rt::WindowObject::Query(edit), nullptr);
  DestroyWindow(edit);
}

// A window destroyed while it is being created (its WM_CREATE answers -1 here; with no
// display driver the platform refuses a window the same way) gets its final message,
// but its object stays with the creator, who deletes it once.
TEST_F(WindowObjectQuery, ObjectOfAWindowThatFailsToBeCreatedStaysWithItsCreator) {
  struct Refused : rt::WindowObject {
    Refused(int* finals, int* deletions) : finals(finals), deletions(deletions) {}
    ~Refused() override { ++*deletions; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      return msg == WM_CREATE ? -1 : DefaultProc(msg, wParam, lParam);
    }
    void OnFinalMessage() override {
      ++*finals;
      rt::WindowObject::OnFinalMessage();
    }
    int* finals;
    int* deletions;
  };
  int finals = 0, deletions = 0;
  Refused* refused = new Refused(&finals, &deletions);
  EXPECT_EQ(refused->CreateObjectWindow(0, "QueryTestObject", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr), nullptr);
  EXPECT_EQ(finals, 1);
  ASSERT_EQ(deletions, 0) << "deleted by its final message, while its creator still holds it";
  EXPECT_EQ(refused->hwnd(), nullptr);
  delete refused;
  EXPECT_EQ(deletions, 1);
}

}  // namespace
