// End-to-end keyboard handling of the main window: the keys come from the keyboard
// input queue of the tool in front (SendInput), so they pass the window's
// pre-translation of queued messages as a user's keys would.  The cases share one run
// of the tool and run in the order written.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_driver.h"

namespace app_test {
namespace {

class MainWindowKeys : public SharedToolTest<MainWindowKeys> {
 protected:
  void SetUp() override {
    SharedToolTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(app().BringToFront()) << "the tool did not come to the front";
  }

  // Presses the key and returns the control id that has the focus once it moved
  // (or the unchanged one after a second).
  int PressAndWatchFocus(WORD vk, bool shift = false) {
    const HWND before = app().Focused();
    app().PressKey(vk, shift);
    WaitFor([&] { return app().Focused() != before; }, 1000);
    return app().FocusedId();
  }
};

TEST_F(MainWindowKeys, FocusStartsOnTheListView) {
  EXPECT_EQ(app().FocusedId(), kListId) << "the smallest tab order, ties by the last element";
}

TEST_F(MainWindowKeys, TabCyclesThroughTheTabStopsInTabOrder) {
  ASSERT_EQ(app().FocusedId(), kListId);
  std::vector<int> visited;
  for (int i = 0; i < 4; ++i) visited.push_back(PressAndWatchFocus(VK_TAB));
  // List view, 提取, edit box, "...", and round to the list view again.
  EXPECT_EQ(visited, (std::vector<int>{kLoadId, kEditId, kBrowseId, kListId}));
}

TEST_F(MainWindowKeys, ShiftTabRunsTheOtherWay) {
  ASSERT_EQ(app().FocusedId(), kListId);
  std::vector<int> visited;
  for (int i = 0; i < 4; ++i) visited.push_back(PressAndWatchFocus(VK_TAB, true));
  EXPECT_EQ(visited, (std::vector<int>{kBrowseId, kEditId, kLoadId, kListId}));
}

TEST_F(MainWindowKeys, EnterInTheEditBoxClicksTheDefaultButton) {
  ASSERT_EQ(app().FocusedId(), kListId);
  ASSERT_EQ(PressAndWatchFocus(VK_TAB), kLoadId);
  ASSERT_EQ(PressAndWatchFocus(VK_TAB), kEditId);
  ASSERT_EQ(WindowText(app().Control(kEditId)), "C:\\WINDOWS\\system32\\shell32.dll");
  ASSERT_EQ(app().Status(), "") << "nothing loaded yet";
  app().PressKey(VK_RETURN);
  const std::string status = app().WaitForLoad(60000);
  ASSERT_EQ(status.rfind(StatusDone(), 0), 0u) << status;
  EXPECT_GT(app().LoadedCount(), 8);
  EXPECT_EQ(app().ItemCount(), app().LoadedCount());
}

TEST_F(MainWindowKeys, EscapeDoesNotCloseTheWindow) {
  app().PressKey(VK_ESCAPE);
  Sleep(1500);
  EXPECT_TRUE(IsWindow(app().main()));
  EXPECT_EQ(WaitForSingleObject(app().process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
}  // namespace app_test
