// A real drag from a second process: drag_source (tests/components/fixtures) runs the
// system's drag loop over a window that the DropTarget component registered.
//
// A process that has served calls from another one crashes on its way out under the
// emulated Wine (after its tests reported), so the drop tests run in a copy of this
// program: they are disabled here, and DropTargetDrag.RealDragsFromAnotherProcessDeliverTheFiles
// runs them in a process of their own and reads its report.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/drop_target/drop_target.h"
#include "components/drop_target/drop_target_library.h"
#include "child_process.h"
#include "components/fake_runtime.h"
#include "process_runner.h"
#include "formats/byte_reader.h"

namespace {

using testing_support::ChildProcess;

class DropTargetDragTest : public testing::Test {
 protected:
  static constexpr int kLeft = 300, kTop = 200, kSize = 200;

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    fake::Reset();
    comp::DropTargetLibraryNotify(1, fake::ServiceWord(), 0);
    // SS_NOTIFY: the static answers hit tests itself, so the point finds this window.
    window_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "drop here", WS_POPUP | WS_BORDER | WS_VISIBLE | SS_NOTIFY,
                              kLeft, kTop, kSize, kSize, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    Pump(200);
  }
  // The source stays until the window is gone: it ends after the window, and OLE
  // here lets go of its objects while it still runs.
  void TearDown() override {
    if (target_) DestroyWindow(target_->hwnd());
    if (window_) DestroyWindow(window_);
    const DWORD start = GetTickCount();
    while (source_.handle() && !source_.Ended() && GetTickCount() - start < 15000) Pump(50);
    if (source_.handle()) {
      EXPECT_TRUE(source_.Ended()) << "drag_source did not end after the window went";
    }
    OleUninitialize();
  }

  // The component created through the type's create slot from a version-1 blob
  // that accepts files only.
  comp::DropTarget* CreateFileTarget() {
    rt::ByteAppender blob;
    blob.i32(1);
    for (int32_t flag : {0, 0, 0, 1}) blob.i32(flag);  // text, HTML, URL, files
    auto create = reinterpret_cast<rt::CreateComponentFn>(comp::kDropTargetType.getInterface(rt::SlotCreateComponent));
    void* object = create(blob.data().data(), static_cast<int32_t>(blob.data().size()), 0, window_, 120, nullptr, 0,
                          0, 10, 10, 5, 6, nullptr, 0);
    fake::Runtime().componentObject = object;
    target_ = object ? dynamic_cast<comp::DropTarget*>(static_cast<rt::WindowObject*>(object)) : nullptr;
    return target_;
  }
  bool Register(HWND window) {
    rt::ArgRecord args[2] = {{5, 6, rt::TypeDropTarget},
                             rt::IntArg(static_cast<int32_t>(reinterpret_cast<uintptr_t>(window)))};
    rt::ResultRecord result = {};
    comp::RegisterCommand(&result, 2, args);
    return result.tag == rt::TagBool && result.value == 1;
  }
  // Runs the message loop for ms milliseconds.
  static void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }
  // Starts drag_source over the window's centre with the paths and runs the message
  // loop (which serves the calls of the drop) until an event arrives, the source
  // ends or 30 s pass.
  void DragFrom(const std::vector<std::string>& paths) {
    std::string arguments = std::to_string(kLeft + kSize / 2) + " " + std::to_string(kTop + kSize / 2);
    for (const auto& p : paths) arguments += " \"" + p + "\"";
    ASSERT_TRUE(source_.Start(testing_support::TestFolder() + "drag_source.exe", arguments))
        << "drag_source.exe did not start: " << GetLastError();
    const DWORD start = GetTickCount();
    while (fake::Runtime().events.empty() && !source_.Ended() && GetTickCount() - start < 30000) Pump(50);
    Pump(200);  // a second event, if the drop wrongly fired one
  }

  HWND window_ = nullptr;
  comp::DropTarget* target_ = nullptr;
  ChildProcess source_;
};

TEST_F(DropTargetDragTest, DISABLED_RealDragOfOneFileFromAnotherProcessDeliversThePathAlone) {
  ASSERT_NE(CreateFileTarget(), nullptr);
  ASSERT_TRUE(Register(window_));
  DragFrom({"C:\\windows\\one.dll"});

  const auto& events = fake::Runtime().events;
  ASSERT_EQ(events.size(), 1u) << "drag_source ended: " << source_.Ended() << ", code 0x" << std::hex
                               << source_.ExitCode();
  EXPECT_EQ(events[0].code, rt::SvcFireTypedEvent);
  EXPECT_EQ(events[0].windowId, 5u);
  EXPECT_EQ(events[0].elementId, 6u);
  EXPECT_EQ(events[0].eventIndex, comp::DropFiles);
  EXPECT_EQ(events[0].args, std::vector<int32_t>{static_cast<int32_t>(rt::TagText)});
  EXPECT_EQ(events[0].text, "C:\\windows\\one.dll");
}

TEST_F(DropTargetDragTest, DISABLED_RealDragOfTwoFilesFromAnotherProcessEndsEachPathWithALineBreak) {
  ASSERT_NE(CreateFileTarget(), nullptr);
  ASSERT_TRUE(Register(window_));
  DragFrom({"C:\\a\\shell32.dll", "C:\\b c\\icons.exe"});

  const auto& events = fake::Runtime().events;
  ASSERT_EQ(events.size(), 1u) << "drag_source ended: " << source_.Ended() << ", code 0x" << std::hex
                               << source_.ExitCode();
  EXPECT_EQ(events[0].eventIndex, comp::DropFiles);
  EXPECT_EQ(events[0].text, "C:\\a\\shell32.dll\r\nC:\\b c\\icons.exe\r\n");
}

TEST(DropTargetDrag, RealDragsFromAnotherProcessDeliverTheFiles) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string report = testing_support::TempFileName("drg");
  const testing_support::ProcessRun run = testing_support::RunProgram(
      self, "--gtest_also_run_disabled_tests --gtest_filter=DropTargetDragTest.DISABLED_* --gtest_output=xml:" + report,
      nullptr, 120000);
  const std::string xml = testing_support::ReadWholeFile(report);
  DeleteFileA(report.c_str());
  ASSERT_TRUE(run.started);
  ASSERT_TRUE(run.finished) << "the drop tests did not end within 120 s";
  EXPECT_EQ(run.exitCode, 0u) << "the drop tests failed (their output is above)";
  const size_t summary = xml.find("<testsuites ");
  ASSERT_NE(summary, std::string::npos) << "no report from the drop tests";
  const std::string line = xml.substr(summary, xml.find('>', summary) - summary);
  EXPECT_NE(line.find(" tests=\"2\""), std::string::npos) << line;
  EXPECT_NE(line.find(" failures=\"0\""), std::string::npos) << line;
}

}  // namespace
