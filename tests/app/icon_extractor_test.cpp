// End-to-end tests of the application: one run of the real IconExtractor.exe, driven
// step by step from this process.  The steps share the running tool (each start costs
// seconds under emulation), so they run in the order written.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_driver.h"
#include "icon_modules.h"
#include "module_icons.h"
#include "process_runner.h"

namespace app_test {
namespace {

const char* const kStatusDone = StatusDone();
const char* const kNoIcons = StatusNoIcons();
const char* const kAutoClose = "\r\n      本窗口2秒后自动关闭";

// The folder browser opens on the desktop folder; accepting it writes there.
std::string DesktopFolder() {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
  return path;
}

// The paths of the files title-*.ico in the folder.
std::vector<std::string> IconFiles(const std::string& folder, const std::string& title) {
  std::vector<std::string> paths;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\" + title + "-*.ico").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return paths;
  do paths.push_back(folder + "\\" + fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return paths;
}

void DeleteIconFiles(const std::string& folder, const std::string& title) {
  for (const std::string& path : IconFiles(folder, title)) DeleteFileA(path.c_str());
}

int CountIconFiles(const std::string& folder, const std::string& title) {
  return static_cast<int>(IconFiles(folder, title).size());
}

bool FileExistsAt(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The image data of an .ico file in directory order; empty when the file is no valid
// icon (bad header, an entry of size 0, or data outside the file).
std::vector<std::string> IcoImages(const std::string& path) {
  const std::string bytes = testing_support::ReadWholeFile(path);
  auto u16 = [&](size_t at) { return static_cast<uint16_t>(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8); };
  auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | u16(at + 2) << 16); };
  if (bytes.size() < 6 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0) return {};
  const size_t count = u16(4);
  if (bytes.size() < 6 + 16 * count) return {};
  std::vector<std::string> images;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t size = u32(6 + 16 * i + 8), offset = u32(6 + 16 * i + 12);
    if (size == 0 || offset < 6 + 16 * count || uint64_t(offset) + size > bytes.size()) return {};
    images.push_back(bytes.substr(offset, size));
  }
  return images;
}

// Whether an .ico file holds exactly the images of a group; on a mismatch, says where.
testing::AssertionResult HoldsTheImages(const std::string& path, const std::vector<std::string>& expected) {
  const std::vector<std::string> images = IcoImages(path);
  if (images.empty()) return testing::AssertionFailure() << path << " is no valid icon file";
  if (images.size() != expected.size()) {
    return testing::AssertionFailure() << path << " holds " << images.size() << " images, the group " << expected.size();
  }
  for (size_t i = 0; i < images.size(); ++i) {
    if (images[i] != expected[i]) {
      return testing::AssertionFailure() << "image " << i << " of " << path << " differs from the group's (" << images[i].size()
                                         << " bytes, the group's " << expected[i].size() << ")";
    }
  }
  return testing::AssertionSuccess();
}

class IconExtractorApp : public SharedToolTest<IconExtractorApp> {
 protected:
  // Clicks 提取 and waits for the status line of a finished load.
  std::string LoadTyped(const std::string& path, DWORD timeoutMs = 240000) {
    app().ClearStatus();
    if (!path.empty()) app().TypePath(path);
    app().Click(kLoadId);
    return app().WaitForLoad(timeoutMs);
  }

  // Context menu item by mnemonic, then the folder dialog accepted as it opens (on
  // the desktop folder) or cancelled.  Returns the text of the result message, empty
  // when none came; closedAfterMs receives how long the message stayed.
  // beforeAnswer runs while the dialog is open, just before it is answered.
  std::string ExtractVia(char mnemonic, bool accept, DWORD* closedAfterMs = nullptr,
                         POINT where = POINT{400, 240}, const std::function<void()>& beforeAnswer = {}) {
    if (!app().OpenContextMenu(where)) return "no context menu";
    app().ChooseMenuKey(mnemonic);
    // The first folder browser of a run takes a while to build under emulation.
    HWND dialog = app().WaitForWindow(nullptr, "#32770", 40000);
    if (!dialog) return "no folder dialog";
    Sleep(1000);  // let the dialog select its initial folder
    if (beforeAnswer) beforeAnswer();
    PostMessageA(dialog, WM_COMMAND, accept ? IDOK : IDCANCEL, 0);
    WaitFor([&] { return !IsWindow(dialog); }, 10000);
    HWND box = app().WaitForWindow("提示：", "#32770", accept ? 240000 : 1500);
    if (!box) return "";
    const DWORD shown = GetTickCount();
    const std::string text = testing_support::MessageBoxText(box);
    // The box closes itself; give it up to ten seconds before pressing OK.
    const bool closed = WaitFor([&] { return !IsWindow(box); }, 10000);
    if (closedAfterMs) *closedAfterMs = closed ? GetTickCount() - shown : 0xFFFFFFFF;
    if (!closed) PostMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
  }
};

TEST_F(IconExtractorApp, StartsCentredWithTheDefaultPath) {
  RECT r;
  GetWindowRect(app().main(), &r);
  EXPECT_EQ(r.right - r.left, 573);
  EXPECT_EQ(r.bottom - r.top, 391);
  EXPECT_EQ(r.left, (1024 - 573) / 2);
  EXPECT_EQ(r.top, (768 - 391) / 2);
  EXPECT_EQ(WindowText(app().Control(kEditId)), "C:\\WINDOWS\\system32\\shell32.dll");
  EXPECT_EQ(WindowText(app().Control(kLoadId)), "提取");
  EXPECT_EQ(WindowText(app().Control(kBrowseId)), "...");
  EXPECT_EQ(ClassOf(app().List()), "SysListView32");
  EXPECT_EQ(app().ItemCount(), 0);
  const LONG style = GetWindowLongA(app().main(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the border is fixed";
}

TEST_F(IconExtractorApp, ExtractionItemsDoNothingOnAnEmptyList) {
  ASSERT_NE(app().OpenContextMenu(), nullptr);
  // Both extraction items are disabled: their mnemonics open no folder dialog.
  app().ChooseMenuKey('l');
  Sleep(1500);
  EXPECT_EQ(app().FindOwnWindow(nullptr, "#32770"), nullptr);
  if (!app().FindOwnWindow(nullptr, "#32768")) {
    ASSERT_NE(app().OpenContextMenu(), nullptr);
  }
  app().ChooseMenuKey('s');
  Sleep(1500);
  EXPECT_EQ(app().FindOwnWindow(nullptr, "#32770"), nullptr);
  app().CloseMenu();
  WaitFor([&] { return !app().FindOwnWindow(nullptr, "#32768"); }, 3000);
}

TEST_F(IconExtractorApp, LoadButtonListsTheIconsOfShell32) {
  const std::string status = LoadTyped("");
  ASSERT_EQ(status.rfind(kStatusDone, 0), 0u) << status;
  const int n = app().LoadedCount();
  ASSERT_GT(n, 8);
  EXPECT_EQ(app().ItemCount(), n);
  std::vector<std::string> numbers;
  for (int i = 1; i <= n; ++i) numbers.push_back(std::to_string(i));
  EXPECT_EQ(app().ItemTexts(), numbers) << "the items are numbered 1 to n";
  EXPECT_GT(CountPixels(app().Control(kStatusId), IsDark), 20) << "the status is black";
  EXPECT_EQ(CountPixels(app().Control(kStatusId), IsRed), 0);
  SaveScreen(testing_support::TestFolder() + "app_loaded.bmp");
}

TEST_F(IconExtractorApp, ContextMenuShowsThreeCommands) {
  HWND menu = app().OpenContextMenu();
  ASSERT_NE(menu, nullptr);
  Sleep(300);
  SaveScreen(testing_support::TestFolder() + "app_context_menu.bmp");
  app().CloseMenu();
  EXPECT_TRUE(WaitFor([&] { return !app().FindOwnWindow(nullptr, "#32768"); }, 3000));
}

TEST_F(IconExtractorApp, ExtractSelectedWritesTheChosenIcons) {
  ASSERT_GT(app().ItemCount(), 8);
  app().SelectItem(2);
  app().AddToSelection(7);
  ASSERT_EQ(app().SelectedItems(), (std::vector<int>{2, 7}));
  const std::string folder = DesktopFolder();
  DeleteIconFiles(folder, "shell32");
  DWORD closedAfter = 0;
  // Right-clicking a selected item keeps the selection.
  const std::string text = ExtractVia('s', true, &closedAfter, app().ItemPoint(2));
  EXPECT_EQ(text, std::string("共提取 2 个图标, 2 个提取成功!") + kAutoClose);
  EXPECT_GE(closedAfter, 1500u);
  EXPECT_LE(closedAfter, 5000u) << "the message closes itself after about two seconds";
  const auto groups = GroupImages(SystemFolder() + "\\shell32.dll");
  ASSERT_GT(groups.size(), 8u);
  ASSERT_FALSE(groups[2].empty() || groups[7].empty());
  EXPECT_TRUE(HoldsTheImages(folder + "\\shell32-3.ico", groups[2]));
  EXPECT_TRUE(HoldsTheImages(folder + "\\shell32-8.ico", groups[7]));
  EXPECT_EQ(CountIconFiles(folder, "shell32"), 2);
  DeleteIconFiles(folder, "shell32");
}

TEST_F(IconExtractorApp, CancelledFolderDialogWritesNothing) {
  EXPECT_EQ(ExtractVia('l', false), "") << "no message after a cancelled dialog";
  EXPECT_EQ(app().FindOwnWindow(nullptr, "#32770"), nullptr);
  EXPECT_EQ(CountIconFiles(DesktopFolder(), "shell32"), 0);
}

TEST_F(IconExtractorApp, AboutBoxShowsAuthorAndDate) {
  ASSERT_NE(app().OpenContextMenu(), nullptr);
  app().ChooseMenuKey('a');
  HWND box = app().WaitForWindow("信息：", "#32770");
  ASSERT_NE(box, nullptr);
  const std::string text = testing_support::MessageBoxText(box);
  EXPECT_EQ(text.rfind("程序作者：＜Tarvek＞\r\n联系方式：", 0), 0u) << text;
  EXPECT_NE(text.find("\r\n制作日期：2012年12月2日 22:28:30"), std::string::npos) << text;
  Sleep(2500);
  EXPECT_TRUE(IsWindow(box)) << "the about box stays until dismissed";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 3000));
}

TEST_F(IconExtractorApp, FileWithoutIconsShowsTheRedMessage) {
  // The test program itself is an .exe without icon resources.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(LoadTyped(self), kNoIcons);
  EXPECT_EQ(app().ItemCount(), 0);
  Sleep(500);  // the label repaints after its caption changed
  EXPECT_GT(CountPixels(app().Control(kStatusId), IsRed), 20) << "the message is red";
}

// ".EXE" is not one of the lower-case extensions the tool reads directly, so the path
// goes through FindExecutableA, which names the program itself for an executable.
TEST_F(IconExtractorApp, UpperCaseExtensionGoesThroughTheAssociatedProgram) {
  const std::string typed = SystemFolder() + "\\NOTEPAD.EXE";
  ASSERT_TRUE(FileExistsAt(typed));
  const std::string status = LoadTyped(typed);
  ASSERT_EQ(status.rfind(kStatusDone, 0), 0u) << status;
  std::string shown = WindowText(app().Control(kEditId));
  CharLowerA(&shown[0]);
  EXPECT_NE(shown.find("notepad.exe"), std::string::npos) << shown;
  EXPECT_GT(app().ItemCount(), 0);
}

// A 16-bit icon library is read by the tool itself: listed, and saved group by group.
TEST_F(IconExtractorApp, NeIconLibraryListsAndSavesEveryGroup) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string source = std::string(temp) + "sample.icl";
  const std::vector<iconmodules::NeGroup> library = iconmodules::SampleNeGroups();
  const std::vector<uint8_t> bytes = iconmodules::BuildNeIconLibrary(library);
  HANDLE f = CreateFileA(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  ASSERT_EQ(written, bytes.size());

  const int n = static_cast<int>(library.size());
  ASSERT_EQ(LoadTyped(source), kStatusDone + std::to_string(n));
  EXPECT_EQ(app().ItemCount(), n);
  const std::string folder = DesktopFolder();
  DeleteIconFiles(folder, "sample");
  const std::string count = std::to_string(n);
  EXPECT_EQ(ExtractVia('l', true), "一共提取了 " + count + " 个图标，" + count + " 个成功，0 个失败。" + kAutoClose);
  for (int i = 1; i <= n; ++i) {
    std::vector<std::string> images;
    for (const std::vector<uint8_t>& image : library[i - 1].images)
      images.push_back(testref::AsWrittenToIco(std::string(image.begin(), image.end())));
    EXPECT_TRUE(HoldsTheImages(folder + "\\sample-" + std::to_string(i) + ".ico", images));
  }
  EXPECT_EQ(CountIconFiles(folder, "sample"), n);
  DeleteIconFiles(folder, "sample");
  DeleteFileA(source.c_str());
}

TEST_F(IconExtractorApp, ExtractAllWritesEveryIconAndReportsCounts) {
  const std::string source = SystemFolder() + "\\notepad.exe";
  ASSERT_EQ(LoadTyped(source).rfind(kStatusDone, 0), 0u);
  const int n = app().ItemCount();
  ASSERT_GT(n, 0);
  const std::string folder = DesktopFolder();
  DeleteIconFiles(folder, "notepad");
  DWORD closedAfter = 0;
  const std::string text = ExtractVia('l', true, &closedAfter);
  const std::string count = std::to_string(n);
  EXPECT_EQ(text, "一共提取了 " + count + " 个图标，" + count + " 个成功，0 个失败。" + kAutoClose);
  EXPECT_GE(closedAfter, 1500u);
  EXPECT_LE(closedAfter, 5000u);
  const auto groups = GroupImages(source);
  ASSERT_EQ(static_cast<int>(groups.size()), n);
  for (int i = 1; i <= n; ++i) {
    EXPECT_TRUE(HoldsTheImages(folder + "\\notepad-" + std::to_string(i) + ".ico", groups[i - 1]));
  }
  EXPECT_EQ(CountIconFiles(folder, "notepad"), n);
  DeleteIconFiles(folder, "notepad");
}

TEST_F(IconExtractorApp, AFolderThatVanishedIsReportedAsFailures) {
  const int n = app().ItemCount();
  ASSERT_GT(n, 0) << "runs after a load";
  const std::string folder = DesktopFolder();
  // Only a desktop folder of the test prefix's own (tools/wine-run.sh marks it) may be
  // renamed: Wine's default one is a link to the user's home, and renaming the link
  // would move the home folder.
  if (!FileExistsAt(folder + "\\.own-folder")) GTEST_SKIP() << "the desktop folder is not the prefix's own";
  const std::string away = folder + ".away";
  struct PutBack {  // whatever happens below
    std::string from, to;
    ~PutBack() { MoveFileA(from.c_str(), to.c_str()); }
  } putBack{away, folder};
  const std::string text = ExtractVia('l', true, nullptr, POINT{400, 240}, [&] {
    EXPECT_TRUE(MoveFileA(folder.c_str(), away.c_str())) << "the chosen folder vanishes";
  });
  const std::string count = std::to_string(n);
  EXPECT_EQ(text, "一共提取了 " + count + " 个图标，0 个成功，" + count + " 个失败。" + kAutoClose);
  EXPECT_FALSE(FileExistsAt(folder)) << "nothing creates the folder again";
}

TEST_F(IconExtractorApp, ClosingTheWindowEndsTheProcessWithZero) {
  EXPECT_EQ(app().CloseAndWait(), 0u);
}

}  // namespace
}  // namespace app_test
