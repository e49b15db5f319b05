#include "components/common_dialog/common_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "components/fake_runtime.h"
#include "tests/suite_labels.h"

namespace {

PURE_SUITE(DialogFilter);

TEST(DialogFilter, PipesBecomeNulsAndTheListEndsInAnEmptyString) {
  const std::string list = comp::BuildDialogFilter("所有文件(*.*)|*.*");
  EXPECT_EQ(list, std::string("所有文件(*.*)\0*.*\0\0", std::strlen("所有文件(*.*)") + 6));
  EXPECT_EQ(comp::BuildDialogFilter("Text|*.txt||"), std::string("Text\0*.txt\0\0", 12)) << "not extended";
  EXPECT_EQ(comp::BuildDialogFilter("Text|*.txt  \r\n"), std::string("Text\0*.txt\0\0", 12));
  EXPECT_EQ(comp::BuildDialogFilter(""), "");
  EXPECT_EQ(comp::BuildDialogFilter("   "), "");
  // 0x7C as the second byte of a two-byte character is no separator.
  const std::string twoByte = std::string("\x81\x7C") + "|*.a";
  EXPECT_EQ(comp::BuildDialogFilter(twoByte), std::string("\x81\x7C\0*.a\0\0", 8));
}

TEST(CommonDialogData, BlobRoundTripVersionsAndClamps) {
  comp::CommonDialogData p;
  EXPECT_EQ(comp::FileDialogFlags(p),
            static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST));
  p.dialogType = 1;
  p.title = "打开资源文件";
  p.filter = "所有文件(*.*)|*.*";
  p.fontSize = 12;
  p.helpTopic = 77;
  std::vector<uint8_t> blob = p.Write();
  comp::CommonDialogData back;
  ASSERT_TRUE(back.Read(blob.data(), blob.size()));
  EXPECT_EQ(back.Write(), blob);
  EXPECT_EQ(back.title, p.title);
  blob[0] = 0;  // version 0 reads the same
  EXPECT_TRUE(back.Read(blob.data(), blob.size()));
  blob[0] = 2;
  EXPECT_FALSE(back.Read(blob.data(), blob.size()));
  blob[0] = 1;
  EXPECT_FALSE(back.Read(blob.data(), blob.size() - 1));
}

using Dialog = comp::CommonDialog;

class CommonDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    comp::CommonDlgLink().Notify(1, fake::ServiceWord(), 0);
    parent_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    auto create = reinterpret_cast<rt::CreateComponentFn>(comp::kCommonDlgType.getInterface(rt::SlotCreateComponent));
    object_ = create(nullptr, 0, 0, parent_, 110, nullptr, 0, 0, 10, 10, 1, 2, nullptr, 0);
    ASSERT_NE(object_, nullptr);
    fake::Runtime().componentObject = object_;
  }
  void TearDown() override { DestroyWindow(parent_); }

  void Set(int32_t index, uint32_t value) {
    rt::PropertyData data = {value, 0};
    auto changed = reinterpret_cast<rt::PropertyChangedFn>(comp::kCommonDlgType.getInterface(rt::SlotPropertyChanged));
    EXPECT_EQ(changed(object_, index, &data, nullptr), 0) << "never re-created";
  }
  void SetText(int32_t index, const char* text) { Set(index, static_cast<uint32_t>(rt::LibraryLink::Word(text))); }
  rt::PropertyData Get(int32_t index) {
    rt::PropertyData data = {0xdeadbeef, 0xdeadbeef};
    auto get = reinterpret_cast<rt::GetPropertyFn>(comp::kCommonDlgType.getInterface(rt::SlotGetProperty));
    EXPECT_NE(get(object_, index, &data), 0);
    return data;
  }

  HWND parent_ = nullptr;
  void* object_ = nullptr;
};

TEST_F(CommonDlgTest, WritesAreClamped) {
  Set(Dialog::PDialogType, 7);
  EXPECT_EQ(Get(Dialog::PDialogType).value, 3u);
  Set(Dialog::PDialogType, static_cast<uint32_t>(-2));
  EXPECT_EQ(Get(Dialog::PDialogType).value, 0u);
  Set(Dialog::PFilterIndex, static_cast<uint32_t>(-3));
  EXPECT_EQ(Get(Dialog::PFilterIndex).value, 0u);
  Set(Dialog::PHelpCommand, 9);
  EXPECT_EQ(Get(Dialog::PHelpCommand).value, 5u);
  SetText(Dialog::PFileName, "C:\\a.dll");
  EXPECT_STREQ(static_cast<const char*>(rt::LibraryLink::Pointer(static_cast<int32_t>(Get(Dialog::PFileName).value))),
               "C:\\a.dll");
  EXPECT_STREQ(static_cast<const char*>(rt::LibraryLink::Pointer(static_cast<int32_t>(Get(Dialog::PTitle).value))), "")
      << "an empty text is an empty string, never null";
}

TEST_F(CommonDlgTest, CancelledOpenDialogLeavesFileNameUnchanged) {
  SetText(Dialog::PTitle, "OpenDialogUnderTest");
  SetText(Dialog::PFilter, "所有文件(*.*)|*.*");
  Set(Dialog::PFilterIndex, static_cast<uint32_t>(-3));
  SetText(Dialog::PFileName, "C:\\previous.dll");

  std::atomic<bool> found{false};
  std::thread canceller([&found] {
    for (int i = 0; i < 600 && !found; ++i) {
      HWND dialog = FindWindowA(nullptr, "OpenDialogUnderTest");
      if (dialog) {
        found = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        break;
      }
      Sleep(100);
    }
  });
  rt::ArgRecord ref = {1, 2, rt::TypeCommonDlg};
  rt::ResultRecord result = {0xdeadbeef, 0, 0};
  comp::OpenCommand(&result, 1, &ref);
  canceller.join();
  EXPECT_TRUE(found) << "the open dialog was shown";
  EXPECT_EQ(result.tag, rt::TagBool);
  EXPECT_EQ(result.value, 0u);
  EXPECT_STREQ(static_cast<const char*>(rt::LibraryLink::Pointer(static_cast<int32_t>(Get(Dialog::PFileName).value))),
               "C:\\previous.dll");
}

TEST_F(CommonDlgTest, HelpWithoutAFileAnswersFalse) {
  Set(Dialog::PDialogType, 3);
  SetText(Dialog::PHelpFile, "C:\\no\\such\\help.hlp");
  rt::ArgRecord ref = {1, 2, rt::TypeCommonDlg};
  rt::ResultRecord result = {};
  comp::OpenCommand(&result, 1, &ref);
  EXPECT_EQ(result.tag, rt::TagBool);
  EXPECT_EQ(result.value, 0u);
}

TEST_F(CommonDlgTest, DestructionIsReported) {
  DestroyWindow(parent_);
  ASSERT_EQ(fake::Runtime().destroyed.size(), 1u);
  EXPECT_EQ(fake::Runtime().destroyed[0], std::make_pair(1, 2));
}

}  // namespace
