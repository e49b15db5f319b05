#include "iconres/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include "iconres/icon_library.h"
#include "icon_test_support.h"
#include "runtime/heap.h"
#include "runtime/runtime_service.h"
#include "shell_link_bytes.h"
#include "tests/suite_labels.h"

using namespace iconres;

namespace {

struct LinkFields {
  std::string target, arguments, folder, iconFile, description;
  int iconIndex = 0;
  int show = SW_SHOWNORMAL;
  WORD hotKey = 0;
};

bool SaveShortcut(const std::string& path, const LinkFields& f) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return false;
  link->SetPath(f.target.c_str());
  link->SetArguments(f.arguments.c_str());
  link->SetWorkingDirectory(f.folder.c_str());
  link->SetIconLocation(f.iconFile.c_str(), f.iconIndex);
  link->SetShowCmd(f.show);
  link->SetHotkey(f.hotKey);
  link->SetDescription(f.description.c_str());
  std::vector<uint8_t> bytes = testing_support::SavedShellLink(link);
  link->Release();
  // The shell-link object may normalise the show command when it saves; the file's
  // header holds it as a 32-bit word at offset 60, where it is set directly.
  if (bytes.size() < 76) return false;
  for (int i = 0; i < 4; ++i) bytes[60 + i] = static_cast<uint8_t>(static_cast<uint32_t>(f.show) >> (8 * i));
  return icontest::WriteWholeFile(path, bytes);
}

// The show command that the platform's own shell-link object reads from a file.
int PlatformShowCommand(const std::string& path) {
  IShellLinkA* link = nullptr;
  int show = -1;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return show;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(file->Load(wide, 0))) link->GetShowCmd(&show);
    file->Release();
  }
  link->Release();
  return show;
}

char* const kSentinelText = reinterpret_cast<char*>(0x1);  // never a runtime block
constexpr int32_t kSentinel = static_cast<int32_t>(0xdeadbeef);

// The eight argument records with the caller's variables behind them.
struct Call {
  char* texts[8] = {};  // variables of arguments 2, 3, 4, 5 and 8 (and 7 as text)
  int32_t ints[8] = {};
  rt::ArgRecord args[8];

  Call(const std::string& path, uint32_t hotKeyTag) {
    args[0] = rt::TextArg(path.c_str());
    path_ = path;
    args[0] = rt::TextArg(path_.c_str());
    for (int i : {1, 2, 3, 4, 7}) args[i] = rt::RefArg(&texts[i], rt::TagText);
    ints[5] = ints[6] = kSentinel;
    args[5] = rt::RefArg(&ints[5], rt::TagInt);
    args[6] = hotKeyTag == rt::TagText ? rt::RefArg(&texts[6], rt::TagText) : rt::RefArg(&ints[6], rt::TagInt);
    for (int i = 1; i < 8; ++i) texts[i] = kSentinelText;
    texts[1] = rt::NewText("old text");  // a runtime block the command must replace
  }
  ~Call() {
    for (char* t : texts)
      if (t != kSentinelText) rt::FreeMemory(t);
  }
  std::string Run(int32_t argc) {
    rt::ResultRecord result = {0, 0, 0};
    rt::CommandFunction command = &ResolveShortcut;
    command(&result, argc, args);
    EXPECT_EQ(result.tag, rt::TagText);
    char* text = static_cast<char*>(rt::LibraryLink::Pointer(static_cast<int32_t>(result.value)));
    std::string s = text ? text : "";
    rt::FreeMemory(text);
    return s;
  }
  std::string Text(int i) const { return texts[i] && texts[i] != kSentinelText ? texts[i] : ""; }

 private:
  std::string path_;
};

class ShortcutTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ShellNotify(1, rt::LibraryLink::Word(reinterpret_cast<const void*>(&rt::RuntimeService)), 0);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    fields_.target = exe;
    fields_.arguments = "/s";
    fields_.folder = dir_.path();
    fields_.iconFile = icontest::FixtureDll();
    fields_.iconIndex = 3;
    fields_.show = SW_SHOWMINNOACTIVE;
    fields_.hotKey = MAKEWORD('F', HOTKEYF_CONTROL | HOTKEYF_ALT);
    fields_.description = "图标工具的快捷方式";
    link_ = dir_ / "tool.lnk";
    ASSERT_TRUE(SaveShortcut(link_, fields_));
  }
  void TearDown() override { CoUninitialize(); }

  icontest::TempFolder dir_;
  LinkFields fields_;
  std::string link_;
};

}  // namespace

PURE_SUITE(ShortcutTest);

TEST_F(ShortcutTest, ResolvesToTargetAndArgumentsAndFillsEveryVariable) {
  Call call(link_, rt::TagInt);
  EXPECT_EQ(call.Run(8), fields_.target + " /s");
  EXPECT_EQ(call.Text(1), fields_.target);
  EXPECT_EQ(call.Text(2), "/s");
  EXPECT_EQ(call.Text(3), fields_.folder);
  EXPECT_EQ(call.Text(4), fields_.iconFile + ",3");
  // The file holds 7; Wine's shell-link object reads it back as 1, Windows as 7.
  int platform = PlatformShowCommand(link_);
  EXPECT_EQ(call.ints[5], platform == SW_SHOWMINNOACTIVE ? SW_SHOWMINIMIZED : platform);
  EXPECT_NE(call.ints[5], SW_SHOWMINNOACTIVE);
  EXPECT_EQ(call.ints[6], 0x0646);            // modifiers 6, key 'F'
  EXPECT_EQ(call.Text(7), fields_.description);
}

PURE_SUITE(ShortcutShowCommand);

TEST(ShortcutShowCommand, MinimisedWithoutActivationReadsAsMinimised) {
  EXPECT_EQ(ReportedShowCommand(SW_SHOWMINNOACTIVE), SW_SHOWMINIMIZED);
  EXPECT_EQ(ReportedShowCommand(SW_SHOWNORMAL), SW_SHOWNORMAL);
  EXPECT_EQ(ReportedShowCommand(SW_SHOWMAXIMIZED), SW_SHOWMAXIMIZED);
  EXPECT_EQ(ReportedShowCommand(SW_SHOWMINIMIZED), SW_SHOWMINIMIZED);
}

TEST_F(ShortcutTest, HotKeyAsText) {
  Call call(link_, rt::TagText);
  call.Run(8);
  EXPECT_EQ(call.Text(6), "Ctrl + Alt + F");
  EXPECT_EQ(HotKeyText(MAKEWORD('K', 1 | 2 | 4 | 8)), "Ctrl + Shift + Alt + Ext + K");
  EXPECT_EQ(HotKeyText(MAKEWORD('Q', 1)), "Shift + Q");
  EXPECT_EQ(HotKeyText(0), "");
}

TEST_F(ShortcutTest, OnlyPassedAndMatchingVariablesAreFilled) {
  Call four(link_, rt::TagInt);
  EXPECT_EQ(four.Run(4), fields_.target + " /s");
  EXPECT_EQ(four.Text(3), fields_.folder);
  EXPECT_EQ(four.texts[4], kSentinelText);
  EXPECT_EQ(four.ints[5], kSentinel);
  EXPECT_EQ(four.ints[6], kSentinel);
  EXPECT_EQ(four.texts[7], kSentinelText);

  Call wrongTags(link_, rt::TagInt);
  wrongTags.args[2].tag = rt::TagInt;   // arguments are a text variable
  wrongTags.args[5].tag = rt::TagText;  // the show command is an integer variable
  wrongTags.Run(8);
  EXPECT_EQ(wrongTags.texts[2], kSentinelText);
  EXPECT_EQ(wrongTags.ints[5], kSentinel);
}

TEST_F(ShortcutTest, FileNamesAndFailures) {
  // No ".lnk" in the path: ".lnk" is appended.
  EXPECT_EQ(ShortcutFileName("C:\\a\\tool"), "C:\\a\\tool.lnk");
  EXPECT_EQ(ShortcutFileName("C:\\a\\b.exe"), "C:\\a\\b.exe.lnk");
  EXPECT_EQ(ShortcutFileName("C:\\a\\B.LNK"), "C:\\a\\B.LNK");
  EXPECT_EQ(ShortcutFileName("C:\\x.lnk.d\\b.exe"), "C:\\x.lnk.d\\b.exe");
  Call bare(dir_ / "tool", rt::TagInt);
  EXPECT_EQ(bare.Run(1), fields_.target + " /s");
  ASSERT_TRUE(CopyFileA(link_.c_str(), (dir_ / "UPPER.LNK").c_str(), FALSE));
  Call upper(dir_ / "UPPER.LNK", rt::TagInt);
  EXPECT_EQ(upper.Run(1), fields_.target + " /s");

  // A program, a missing file and a file that is no shortcut: the empty text, and no
  // variable is touched.
  Call exe(fields_.target, rt::TagInt);
  EXPECT_EQ(exe.Run(8), "");
  EXPECT_STREQ(exe.texts[1], "old text");
  EXPECT_EQ(exe.ints[5], kSentinel);
  ASSERT_TRUE(icontest::WriteWholeFile(dir_ / "junk.lnk", std::vector<uint8_t>(100, 'j')));
  Call junk(dir_ / "junk.lnk", rt::TagInt);
  EXPECT_EQ(junk.Run(8), "");
  EXPECT_EQ(junk.ints[6], kSentinel);
}

TEST_F(ShortcutTest, NoArgumentsMeansNoSpace) {
  LinkFields plain = fields_;
  plain.arguments.clear();
  ASSERT_TRUE(SaveShortcut(dir_ / "plain.lnk", plain));
  Call call(dir_ / "plain.lnk", rt::TagInt);
  EXPECT_EQ(call.Run(3), fields_.target);
  EXPECT_EQ(call.Text(2), "");
  EXPECT_EQ(call.texts[2], nullptr);  // an empty field stores the empty text
}
