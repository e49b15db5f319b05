// Property services on a loaded test form: clamps, fonts, pointers, re-creation, centring.
#include "components/form_fixture.h"

#include <cstring>
#include <utility>

#include "runtime/component_properties.h"
#include "runtime/heap.h"
#include "runtime/service_table.h"

namespace formtest {
namespace {

constexpr uint32_t kBox = 0x16010001;
uint32_t W(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

rt::WindowTemplate Form() {
  comp::WindowData props;
  props.caption = "属性";
  rt::WindowTemplate w;
  w.id = kWindowId;
  w.elements = {WindowElement(props, 400, 300), BoxElement(kBox, kBoxType, 20, 30, 5, 0),
                BoxElement(0x16010002, kBoxType, 20, 80, 5, 1)};
  return w;
}

TEST_F(FormTest, WindowIsCentredWithIntegerHalvesOfTheScreen) {
  Install({Form()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  RECT r;
  GetWindowRect(Hwnd(), &r);
  EXPECT_EQ(r.left, (1024 - 400) / 2);
  EXPECT_EQ(r.top, (768 - 300) / 2);
  EXPECT_EQ(r.right - r.left, 400);
  LONG style = GetWindowLongA(Hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);  // border style 2: fixed
}

TEST_F(FormTest, BorderStyleNoneHasNoCaptionOrFrame) {
  rt::WindowTemplate w = Form();
  comp::WindowData props;
  props.border = comp::BorderNone;
  props.caption = "x";
  w.elements[0].properties = props.Write();
  Install({w});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  LONG style = GetWindowLongA(Hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_CAPTION | WS_DLGFRAME | WS_THICKFRAME));
}

TEST_F(FormTest, CaptionAndBorderChangesKeepAWrittenOrUserChosenWindowSize) {
  rt::WindowTemplate w = Form();
  comp::WindowData props;
  props.caption = "尺寸";
  props.border = comp::BorderResizable;
  w.elements[0].properties = props.Write();
  Install({w});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  const auto size = [this]() {
    RECT r;
    GetWindowRect(Hwnd(), &r);
    return std::make_pair(r.right - r.left, r.bottom - r.top);
  };
  ASSERT_EQ(size(), std::make_pair(400L, 300L));
  rt::SetComponentProperty(kWindowId, 0, rt::PropWidth, -1, 350, 0);
  rt::SetComponentProperty(kWindowId, 0, rt::PropHeight, -1, 250, 0);
  rt::SetComponentProperty(kWindowId, 0, 8, -1, W("新标题"), 0);
  EXPECT_EQ(size(), std::make_pair(350L, 250L)) << "written size, then a caption change";
  // The size a user drags the frame to.
  SetWindowPos(Hwnd(), nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  rt::SetComponentProperty(kWindowId, 0, 16, -1, 1, 0);                   // maximise button
  rt::SetComponentProperty(kWindowId, 0, 9, -1, comp::BorderFixed, 0);    // border style
  EXPECT_EQ(size(), std::make_pair(320L, 220L)) << "user's size, then style changes";
}

TEST_F(FormTest, CommonPropertiesClampAndApply) {
  Install({Form()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  rt::SetComponentProperty(kWindowId, kBox, rt::PropWidth, -1, 40000, 0);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropWidth, -1), 32627u);
  rt::SetComponentProperty(kWindowId, kBox, rt::PropWidth, -1, static_cast<uint32_t>(-5), 0);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropWidth, -1), 0u);
  rt::SetComponentProperty(kWindowId, kBox, rt::PropLeft, -1, static_cast<uint32_t>(-40000), 0);
  EXPECT_EQ(static_cast<int32_t>(rt::GetComponentProperty(kWindowId, kBox, rt::PropLeft, -1)), -32627);
  rt::SetComponentProperty(kWindowId, kBox, rt::PropTop, -1, 44, 0);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropTop, -1), 44u);
  rt::SetComponentProperty(kWindowId, kBox, rt::PropDisabled, -1, 1, 0);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(kWindowId, 1)));
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropDisabled, -1), 1u);
  rt::SetComponentProperty(kWindowId, kBox, rt::PropVisible, -1, 0, 0);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropVisible, -1), 0u);
}

TEST_F(FormTest, MousePointerIndexIsStoredAsSystemIdAndReadBackAsIndex) {
  Install({Form()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  int32_t five = 5;
  void* set = rt::NewByteSet(&five, 4);
  rt::SetComponentProperty(kWindowId, kBox, rt::PropMousePointer, -1, W(set), 0);
  rt::FreeMemory(set);
  const auto& stored = Window().elements[1].mousePointer;
  ASSERT_EQ(stored.size(), 4u);
  int32_t id;
  std::memcpy(&id, stored.data(), 4);
  EXPECT_EQ(id, static_cast<int32_t>(reinterpret_cast<uintptr_t>(IDC_HELP)));
  EXPECT_NE(Window().elements[1].cursor, nullptr);
  void* back = reinterpret_cast<void*>(rt::GetComponentProperty(kWindowId, kBox, rt::PropMousePointer, -1));
  ASSERT_EQ(rt::ByteSetLength(back), 4);
  std::memcpy(&id, rt::ByteSetBytes(back), 4);
  EXPECT_EQ(id, 5);
  rt::FreeMemory(back);
}

TEST_F(FormTest, FontMembersAndWholeValues) {
  Install({Form()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  // Never set: the default GUI font's members.
  LOGFONTA def = rt::DefaultGuiFont();
  char* face = reinterpret_cast<char*>(rt::GetComponentProperty(kWindowId, kBox, 9, 6));
  EXPECT_STREQ(face ? face : "", def.lfFaceName);
  rt::FreeMemory(face);
  rt::SetComponentProperty(kWindowId, kBox, 9, 0, static_cast<uint32_t>(-10), 0);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, 9, 0), 3590u);
  rt::SetComponentProperty(kWindowId, kBox, 9, 6, W(""), 0);
  face = reinterpret_cast<char*>(rt::GetComponentProperty(kWindowId, kBox, 9, 6));
  EXPECT_STREQ(face, "宋体");
  rt::FreeMemory(face);
  const std::string name31(31, 'a'), name32(32, 'a');
  rt::SetComponentProperty(kWindowId, kBox, 9, 6, W(name31.c_str()), 0);
  face = reinterpret_cast<char*>(rt::GetComponentProperty(kWindowId, kBox, 9, 6));
  EXPECT_EQ(std::string(face), name31);
  rt::FreeMemory(face);
  rt::SetComponentProperty(kWindowId, kBox, 9, 6, W(name32.c_str()), 0);
  face = reinterpret_cast<char*>(rt::GetComponentProperty(kWindowId, kBox, 9, 6));
  EXPECT_STREQ(face, "宋体");
  rt::FreeMemory(face);
  rt::FontValue v = {450, 1, 1, 0, 1, 12, name31.c_str()};
  rt::SetComponentProperty(kWindowId, kBox, 9, -1, W(&v), 0);
  auto* out = reinterpret_cast<rt::FontValue*>(rt::GetComponentProperty(kWindowId, kBox, 9, -1));
  EXPECT_EQ(out->angle, 450);
  EXPECT_EQ(out->bold, 1);
  EXPECT_EQ(out->italic, 1);
  EXPECT_EQ(out->strikeOut, 0);
  EXPECT_EQ(out->underline, 1);
  EXPECT_EQ(out->points, 12);
  EXPECT_STREQ(out->face, "宋体");  // a whole value with a 31-byte name
  rt::FreeMemory(const_cast<char*>(out->face));
  rt::FreeMemory(out);
}

TEST_F(FormTest, RecreationKeepsControlIdPositionStateAndFocus) {
  Install({Form()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  HWND old = Hwnd(kWindowId, 1);
  const int id = GetDlgCtrlID(old);
  EnableWindow(old, FALSE);
  EnableWindow(old, TRUE);
  SetFocus(old);
  ASSERT_EQ(GetFocus(), old);
  rt::SetComponentProperty(kWindowId, kBox, 8, -1, W("新文字"), 0);
  HWND fresh = Hwnd(kWindowId, 1);
  ASSERT_NE(fresh, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(GetDlgCtrlID(fresh), id);
  EXPECT_EQ(GetFocus(), fresh);
  EXPECT_TRUE(IsWindowVisible(fresh));
  EXPECT_TRUE(IsWindowEnabled(fresh));
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropLeft, -1), 20u);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, rt::PropTop, -1), 30u);
  char text[32] = {};
  GetWindowTextA(fresh, text, sizeof text);
  EXPECT_STREQ(text, "新文字");
  EXPECT_EQ(rt::Runtime().eventBlockCount, 0);
  EXPECT_FALSE(rt::Runtime().recreating);

  rt::SetComponentProperty(kWindowId, kBox, rt::PropDisabled, -1, 1, 0);
  rt::SetComponentProperty(kWindowId, kBox, 8, -1, W("again"), 0);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(kWindowId, 1)));
}

TEST_F(FormTest, EightByteKindsTravelWithBothWordsThroughTheServiceTable) {
  Install({Form()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  const rt::ServiceTable& services = rt::Services();
  // 3.141592653589793 and the date-time 45000.75 (their IEEE double words).
  services.setComponentProperty(kWindowId, kBox, 10, -1, 0x54442D18, 0x400921FB);
  services.setComponentProperty(kWindowId, kBox, 11, -1, 0x00000000, 0x40E5F918);
  EXPECT_EQ(services.getComponentProperty(kWindowId, kBox, 10, -1), 0x400921FB54442D18ull);
  EXPECT_EQ(services.getComponentProperty(kWindowId, kBox, 11, -1), 0x40E5F91800000000ull);
  EXPECT_EQ(rt::GetComponentProperty(kWindowId, kBox, 10, -1), 0x54442D18u) << "the 32-bit read is the low word";
  // Every other kind answers with a high word of 0.
  rt::SetComponentProperty(kWindowId, kBox, rt::PropLeft, -1, static_cast<uint32_t>(-7), 0xFFFFFFFF);
  EXPECT_EQ(services.getComponentProperty(kWindowId, kBox, rt::PropLeft, -1), 0xFFFFFFF9ull);
}

}  // namespace
}  // namespace formtest
