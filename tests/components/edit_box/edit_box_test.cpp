#include "components/edit_box/edit_box.h"

#include <commctrl.h>

#include "components/component_fixture.h"

namespace comptest {
namespace {

struct EditBlob {
  int32_t version = 2;
  int32_t border = 1, textColor = 0, backColor = 0xFFFFFF, hideSelection = 1, maxLength = 0, multiLine = 0,
          scrollBars = 0, alignment = 0, inputMode = 0;
  int16_t passwordChar = '*';
  int32_t caseConversion = 0, spinType = 0, spinMin = 0, spinMax = 100, selStart = 0, selLength = 0;
  std::string content, dataSource, dataField;
  std::vector<uint8_t> Bytes() const {
    rt::ByteAppender a;
    a.i32(version);
    for (int32_t v : {border, textColor, backColor, hideSelection, maxLength, multiLine, scrollBars, alignment,
                      inputMode})
      a.i32(v);
    a.i16(passwordChar);
    for (int32_t v : {caseConversion, spinType, spinMin, spinMax, selStart, selLength}) a.i32(v);
    a.i32(0);  // default font
    a.countedText(content);
    AppendDataBinding(a, version, dataSource, dataField);
    return a.take();
  }
};

class EditBoxTest : public TypedComponentTest<comp::EditBox, 120, 24> {
 protected:
  int32_t ChangeText(comp::EditBox* box, int32_t index, const char* text) {
    return Change(box, index, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)));
  }
  static void Type(HWND hwnd, const char* text) {
    for (const char* p = text; *p; ++p) SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(*p), 1);
  }
};

TEST_F(EditBoxTest, ByteModeFiltersTypingAndClampsOnFocusLoss) {
  EditBlob b;
  b.inputMode = comp::InputByte;
  comp::EditBox* box = Make(b);
  ASSERT_NE(box, nullptr);
  HWND other = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE, 200, 10, 40, 20, parent(), nullptr,
                               nullptr, nullptr);
  SetFocus(box->hwnd());
  Type(box->hwnd(), "-3a0.0");
  EXPECT_EQ(Text(box->hwnd()), "300");
  Rec().events.clear();
  SetFocus(other);
  EXPECT_EQ(Text(box->hwnd()), "255");
  // Normalising comes before the lost-focus event.
  ASSERT_GE(Rec().events.size(), 2u);
  EXPECT_EQ(Rec().events.front().eventIndex, 0);
  EXPECT_EQ(Rec().events.back().eventIndex, rt::EventLostFocus);

  SetFocus(box->hwnd());
  SetWindowTextA(box->hwnd(), "0");
  SetFocus(other);
  EXPECT_EQ(Text(box->hwnd()), "");
}

TEST_F(EditBoxTest, NormalisingRules) {
  EXPECT_EQ(comp::NormaliseEditText(comp::InputShort, "-40000"), "-32768");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputInteger, "99999999999"), "2147483647");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputLong, "-12x"), "-12");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputDouble, "24.0"), "24");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputFloat, "0.000"), "");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputDateTime, "2024-1-5 8:30"), "2024年1月5日8时30分");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputDateTime, "2024年2月30日"), "");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputDateTime, "1899-12-30"), "");
  EXPECT_EQ(comp::NormaliseEditText(comp::InputDigits, "-0"), "-0");
  EXPECT_FALSE(comp::EditAcceptsChar(comp::InputByte, '-'));
  EXPECT_TRUE(comp::EditAcceptsChar(comp::InputDouble, '.'));
  EXPECT_FALSE(comp::EditAcceptsChar(comp::InputInteger, '.'));
  EXPECT_TRUE(comp::EditAcceptsChar(comp::InputByte, '\b'));
}

TEST_F(EditBoxTest, SpinStepsUpFromTheTopOfTheRangeToTheBottom) {
  EditBlob b;
  b.spinType = 1;
  b.content = "100";
  comp::EditBox* box = Make(b, 120, 24);
  ASSERT_NE(box, nullptr);
  HWND spin = box->spinWindow();
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(GetDlgCtrlID(spin), 104);
  RECT e, s;
  GetWindowRect(box->hwnd(), &e);
  GetWindowRect(spin, &s);
  EXPECT_EQ(s.left, e.right);
  EXPECT_EQ(s.right - s.left, 18);
  EXPECT_EQ(s.top, e.top);
  EXPECT_EQ(s.bottom, e.bottom);
  EXPECT_TRUE(IsWindowVisible(spin));
  // Click the upper arrow.
  int h = s.bottom - s.top;
  SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, h / 4));
  SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, h / 4));
  EXPECT_EQ(Text(box->hwnd()), "0");
  SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, h - 3));
  SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, h - 3));
  EXPECT_EQ(Text(box->hwnd()), "100");
  // The up-down follows the box when it moves and hides with it.
  SetWindowPos(box->hwnd(), nullptr, 50, 60, 100, 24, SWP_NOZORDER);
  GetWindowRect(box->hwnd(), &e);
  GetWindowRect(spin, &s);
  EXPECT_EQ(s.left, e.right);
  ShowWindow(box->hwnd(), SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(spin));
}

TEST_F(EditBoxTest, SpinTypeTwoReportsTheDirection) {
  EditBlob b;
  b.spinType = 2;
  b.content = "7";
  comp::EditBox* box = Make(b);
  ASSERT_NE(box, nullptr);
  HWND spin = box->spinWindow();
  ASSERT_NE(spin, nullptr);
  RECT s;
  GetClientRect(spin, &s);
  Rec().events.clear();
  SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, s.bottom - 3));
  SendMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(9, s.bottom - 3));
  ASSERT_EQ(Rec().Count(1), 1);
  EXPECT_EQ(Rec().events[0].args[0], -1);
  EXPECT_EQ(Text(box->hwnd()), "7");
}

TEST_F(EditBoxTest, WritingContentFiresEventZeroExactlyOnce) {
  comp::EditBox* box = Make(EditBlob());
  ASSERT_NE(box, nullptr);
  ChangeText(box, 0, "路径");
  EXPECT_EQ(Rec().Count(0), 1);
  EXPECT_EQ(Text(box->hwnd()), "路径");
  ChangeText(box, 0, "路径");  // unchanged text
  EXPECT_EQ(Rec().Count(0), 2);
  // Typing reaches event 0 through the parent's reflected EN_CHANGE.
  SendMessageA(box->hwnd(), EM_SETSEL, 4, 4);
  SendMessageA(box->hwnd(), WM_CHAR, 'x', 1);
  EXPECT_EQ(Rec().Count(0), 3);
  rt::PropertyData d = {};
  Slot<rt::GetPropertyFn>(GetInterface, rt::SlotGetProperty)(box, 0, &d);
  EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<uintptr_t>(d.value)), "路径x");
}

TEST_F(EditBoxTest, ChoicesClampAndStyleChangesAskForRecreation) {
  comp::EditBox* box = Make(EditBlob());
  ASSERT_NE(box, nullptr);
  Change(box, 10, 15);  // InputMode
  EXPECT_EQ(Get(box, 10), 11);
  Change(box, 1, 9);  // Border
  EXPECT_EQ(Get(box, 1), 5);
  Change(box, 6, static_cast<uint32_t>(-3));  // MaxLength
  EXPECT_EQ(Get(box, 6), 0);
  EXPECT_EQ(Change(box, 7, 0), 0);  // MultiLine unchanged
  EXPECT_EQ(Change(box, 7, 1), 1);
  EXPECT_EQ(Change(box, 9, 7), 1);  // Alignment clamped to 2
  EXPECT_EQ(Get(box, 9), 2);
  ChangeText(box, 0, "abcdef");
  Change(box, 16, static_cast<uint32_t>(-1));  // SelStart -1: caret at the end
  EXPECT_EQ(Get(box, 16), 6);
  EXPECT_EQ(Get(box, 17), 0);
  Change(box, 17, static_cast<uint32_t>(-1));  // SelLength -1: all
  EXPECT_EQ(Get(box, 16), 0);
  EXPECT_EQ(Get(box, 17), 6);
}

TEST_F(EditBoxTest, BlobRoundTripAndWantsKey) {
  EditBlob b;
  b.border = 3;
  b.textColor = 0x112233;
  b.backColor = 0xFF000000;
  b.maxLength = 40;
  b.multiLine = 1;
  b.scrollBars = 2;
  b.inputMode = comp::InputDouble;
  b.passwordChar = '#';
  b.spinMin = -5;
  b.spinMax = 5;
  b.content = "第一行";
  b.dataField = "f";
  comp::EditBox* box = Make(b, 120, 60);
  ASSERT_NE(box, nullptr);
  std::vector<uint8_t> expected = b.Bytes();
  std::vector<uint8_t> got =
      GlobalBytes(Slot<rt::GetAllPropertiesFn>(GetInterface, rt::SlotGetAllProperties)(box));
  ASSERT_GE(got.size(), expected.size());
  got.resize(expected.size());
  EXPECT_EQ(got, expected);
  auto wants = Slot<rt::WantsKeyFn>(GetInterface, rt::SlotWantsKey);
  EXPECT_EQ(wants(box, VK_RETURN), 1);
  EXPECT_EQ(wants(box, VK_TAB), 0);

  EditBlob single;
  single.version = 1;
  comp::EditBox* one = Make(single);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(wants(one, VK_RETURN), 0);
  single.version = 3;
  EXPECT_EQ(Make(single), nullptr);
}

}  // namespace
}  // namespace comptest
