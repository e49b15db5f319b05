// A window with a label, an edit box with up-down, a button and an open pop-up menu,
// held open for a few seconds so that it can be looked at (run on request only).
#include "components/button.h"
#include "components/edit_box.h"
#include "components/label.h"
#include "components/popup_menu_command.h"
#include "component_fixture.h"
#include "runtime/runtime_state.h"

namespace comptest {
namespace {

void CALLBACK CloseMenuLater(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

class ShowcaseTest : public ComponentTest {};

TEST_F(ShowcaseTest, DISABLED_HoldsAWindowWithAnOpenPopupMenu) {
  rt::ByteAppender label;
  label.i32(2);
  for (int32_t v : {0, 6, 6}) label.i32(v);
  for (uint32_t c : {0x808080u, 0xFFFFFFu, 0x808080u}) label.u32(c);
  label.u32(0x000080);
  label.u32(0xFF000000);
  label.i32(1);
  label.i32(2);
  for (uint32_t c : {0xFFC080u, 0xFFFFFFu, 0x80C0FFu}) label.u32(c);
  for (int32_t v : {1, 1, 0}) label.i32(v);
  label.i32(0);
  label.i32(0);
  label.countedText("查找完成，图标总数： 42");
  label.i32(0);
  label.i32(0);
  ASSERT_NE(Create(&comp::LabelGetInterface, label.take(), 10, 10, 440, 50, 100), nullptr);

  rt::ByteAppender edit;
  edit.i32(2);
  for (int32_t v : {1, 0, 0xFFFFFF, 1, 0, 0, 0, 0, 5}) edit.i32(v);
  edit.i16('*');
  for (int32_t v : {0, 1, 0, 255, 0, 0}) edit.i32(v);
  edit.i32(0);
  edit.countedText("128");
  edit.i32(0);
  edit.i32(0);
  ASSERT_NE(Create(&comp::EditBoxGetInterface, edit.take(), 10, 80, 200, 24, 110), nullptr);

  rt::ByteAppender button;
  button.i32(1);
  for (int32_t v : {1, 1, 1}) button.i32(v);
  button.i32(0);
  button.i32(0);
  button.countedText("载入");
  ASSERT_NE(Create(&comp::ButtonGetInterface, button.take(), 260, 78, 90, 28, 120), nullptr);

  rt::WindowTemplate w;
  w.id = kWindowId;
  w.elements.resize(1);
  auto item = [&w](uint32_t id, int32_t level, const char* caption, uint32_t flags) {
    rt::ElementTemplate e;
    e.id = id;
    e.level = level;
    e.caption = caption;
    e.itemFlags = flags;
    w.elements.push_back(e);
  };
  item(0x26010001, 0, "右键菜单", rt::MenuHidden);
  item(0x26010002, 1, "提取选中图标(&S)", rt::MenuDisabled);
  item(0x26010003, 1, "-", 0);
  item(0x26010004, 1, "提取所有图标(&L)", 0);
  item(0x26010005, 1, "-", 0);
  item(0x26010006, 1, "关于(&A)", 0);
  rt::Runtime().windows[kWindowId] = w;
  Pump(200);
  POINT at = {160, 130};
  ClientToScreen(parent(), &at);
  SetTimer(nullptr, 0, 8000, &CloseMenuLater);
  rt::ArgRecord args[4] = {{kWindowId, 0, rt::TypeWindow}, {kWindowId, 0x26010001, rt::TypeMenu},
                           rt::IntArg(at.x), rt::IntArg(at.y)};
  rt::ResultRecord result = {};
  comp::PopupMenuCommand(&result, 4, args);
  rt::Runtime().windows.erase(kWindowId);
  SUCCEED() << "shown for inspection";
}

}  // namespace
}  // namespace comptest
