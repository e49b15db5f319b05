// End-to-end drops: a second process (drag_source.exe) drags files with the system's
// drag loop onto the list view of the running tool, as a user dropping files from a
// file manager would.  Each case starts its own tool, so one drop cannot colour the
// next.
//
// The tool serves the drop through calls from the other process, and a process that
// did that may crash on its way out under the emulated Wine here: one case closes the
// tool and expects a clean end, the others check what the drop loaded and then end
// the tool at once.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app_driver.h"
#include "module_icons.h"
#include "process_runner.h"
#include "shell_link_bytes.h"

namespace app_test {
namespace {

std::string SystemFile(const char* name) { return SystemFolder() + "\\" + name; }

// Number of icon groups in a module, counted by the platform's resource enumeration.
int IconGroupCount(const std::string& module) { return static_cast<int>(GroupImages(module).size()); }

std::string Lower(std::string s) {
  if (!s.empty()) CharLowerA(&s[0]);
  return s;
}

// Writes a shortcut file to target.
bool WriteShortcut(const std::string& path, const std::string& target) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  const std::vector<uint8_t> bytes =
      SUCCEEDED(link->SetPath(target.c_str())) ? testing_support::SavedShellLink(link) : std::vector<uint8_t>();
  link->Release();
  if (bytes.empty()) return false;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(f);
  return ok;
}

class DroppedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    app_.reset(new AppSession());
    ASSERT_NE(app_->main(), nullptr) << "the main window did not appear; " << app_->ProcessState();
    ASSERT_EQ(app_->ItemCount(), 0);
    ASSERT_EQ(app_->Status(), "");
  }
  void TearDown() override {
    // The tool first, then the source: it ends by itself once the window is gone (a
    // source that hangs on its way out is ended with the test).
    if (app_) app_->Kill();
    source_.WaitEnded(15000);
    app_.reset();
    CoUninitialize();
  }

  // Drops the paths on the list view and waits for the load they start.
  std::string Drop(const std::vector<std::string>& paths) {
    if (!app_->DropOnList(source_, paths)) return "drag_source.exe did not start";
    return app_->WaitForLoad(60000);
  }

  AppSession& app() { return *app_; }

  std::unique_ptr<AppSession> app_;
  testing_support::ChildProcess source_;
};

TEST_F(DroppedFiles, OneFileFillsTheListAndTheEditBox) {
  const std::string file = SystemFile("taskmgr.exe");
  const int groups = IconGroupCount(file);
  ASSERT_GT(groups, 0) << file << " has no icons to show";
  const std::string status = Drop({file});
  EXPECT_EQ(status, StatusDone() + std::to_string(groups));
  EXPECT_EQ(app().ItemCount(), groups);
  EXPECT_EQ(WindowText(app().Control(kEditId)), file);
  // The drop target lets go of the drop cleanly: the tool still shuts down normally.
  EXPECT_EQ(app().CloseAndWait(), 0u);
}

TEST_F(DroppedFiles, OfTwoFilesOnlyTheFirstIsLoaded) {
  const std::string first = SystemFile("comctl32.dll"), second = SystemFile("user32.dll");
  const int groups = IconGroupCount(first);
  ASSERT_GT(groups, 0) << first << " has no icons to show";
  ASSERT_NE(groups, IconGroupCount(second)) << "the two files must be told apart by their counts";
  const std::string status = Drop({first, second});
  EXPECT_EQ(status, StatusDone() + std::to_string(groups));
  EXPECT_EQ(app().ItemCount(), groups);
  EXPECT_EQ(WindowText(app().Control(kEditId)), first);
}

TEST_F(DroppedFiles, AShortcutLoadsItsTarget) {
  const std::string target = SystemFile("regedit.exe");
  const int groups = IconGroupCount(target);
  ASSERT_GT(groups, 0) << target << " has no icons to show";
  const std::string link = testing_support::TempFileName("lnk") + ".lnk";
  ASSERT_TRUE(WriteShortcut(link, target));
  const std::string status = Drop({link});
  DeleteFileA(link.c_str());
  EXPECT_EQ(status, StatusDone() + std::to_string(groups));
  EXPECT_EQ(app().ItemCount(), groups);
  EXPECT_EQ(Lower(WindowText(app().Control(kEditId))), Lower(target)) << "the edit box shows the target";
}

}  // namespace
}  // namespace app_test
