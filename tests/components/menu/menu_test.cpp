#include "components/menu/menu.h"

#include "components/component_fixture.h"
#include "components/menu/popup_menu_command.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"

namespace comptest {
namespace {

rt::ElementTemplate Item(uint32_t id, int32_t level, const char* caption, uint32_t flags = 0, int32_t shortcut = 0) {
  rt::ElementTemplate e;
  e.id = id;
  e.typeId = rt::TypeMenu;
  e.level = level;
  e.caption = caption;
  e.itemFlags = flags;
  e.shortcut = shortcut;
  return e;
}

// The application's run: a hidden top item with five sub-items, then a visible
// "文件" menu with a Ctrl+S command.
rt::WindowTemplate AppWindow() {
  rt::WindowTemplate w;
  w.id = kWindowId;
  rt::ElementTemplate window;
  window.id = 0x06010000;
  window.typeId = rt::TypeWindow;
  w.elements.push_back(window);
  w.elements.push_back(Item(0x26010001, 0, "右键菜单", rt::MenuHidden));
  w.elements.push_back(Item(0x26010002, 1, "提取选中图标(&S)"));
  w.elements.push_back(Item(0x26010003, 1, "-"));
  w.elements.push_back(Item(0x26010004, 1, "提取所有图标(&L)"));
  w.elements.push_back(Item(0x26010005, 1, "-"));
  w.elements.push_back(Item(0x26010006, 1, "关于(&A)"));
  w.elements.push_back(Item(0x26010007, 0, "文件(&F)"));
  w.elements.push_back(Item(0x26010008, 1, "保存(&S)", 0, 19));
  w.elements.push_back(Item(0x26010009, 1, "隐藏", rt::MenuHidden));
  rt::ElementTemplate edit;
  edit.id = 0x16010001;
  edit.typeId = rt::TypeEditBox;
  w.elements.push_back(edit);
  return w;
}

std::string ItemText(HMENU menu, UINT position) {
  char buffer[128] = {};
  GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

class MenuTest : public ComponentTest {};

TEST_F(MenuTest, ShortcutTableNamesAndKeys) {
  ASSERT_NE(comp::FindShortcutKey(19), nullptr);
  EXPECT_STREQ(comp::FindShortcutKey(19)->name, "Ctrl+S");
  EXPECT_EQ(comp::FindShortcutKey(19)->key, 'S');
  EXPECT_STREQ(comp::FindShortcutKey(27)->name, "F1");
  EXPECT_STREQ(comp::FindShortcutKey(74)->name, "Ctrl+Shift+F12");
  EXPECT_EQ(comp::FindShortcutKey(74)->modifiers, FCONTROL | FSHIFT);
  EXPECT_EQ(comp::FindShortcutKey(76)->key, VK_DELETE);
  EXPECT_EQ(comp::FindShortcutKey(0), nullptr);
  EXPECT_EQ(comp::FindShortcutKey(77), nullptr);
}

TEST_F(MenuTest, BarSkipsHiddenTopItemAndCountsEveryItem) {
  rt::WindowTemplate w = AppWindow();
  HACCEL accel = nullptr;
  HMENU bar = comp::BuildMenuBar(w, &accel);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(ItemText(bar, 0), "文件(&F)");
  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(w.elements[7].popup, file);
  ASSERT_EQ(GetMenuItemCount(file), 1);  // the hidden command is left out
  EXPECT_EQ(GetMenuItemID(file, 0), 20007u);
  EXPECT_EQ(ItemText(file, 0), "保存(&S)\tCtrl+S");
  ASSERT_NE(accel, nullptr);
  ACCEL entries[4] = {};
  ASSERT_EQ(CopyAcceleratorTableA(accel, entries, 4), 1);
  EXPECT_EQ(entries[0].fVirt, FCONTROL | FVIRTKEY | FNOINVERT);
  EXPECT_EQ(entries[0].key, 'S');
  EXPECT_EQ(entries[0].cmd, 20007);

  // Ctrl+S reaches the window as the item's command while the menu is closed.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG msg = {parent(), WM_KEYDOWN, 'S', 0x001F0001, 0, {0, 0}};
  EXPECT_NE(TranslateAcceleratorA(parent(), accel, &msg), 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  ASSERT_EQ(Rec().commands.size(), 1u);
  EXPECT_EQ(LOWORD(Rec().commands[0]), 20007);
  DestroyAcceleratorTable(accel);
  DestroyMenu(bar);
}

struct PopupSeen {
  bool found = false;
  std::vector<UINT> ids;
  std::vector<std::string> texts;
};
PopupSeen g_seen;

void CALLBACK InspectPopup(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (!popup) return;
  KillTimer(nullptr, timer);
  g_seen.found = true;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    g_seen.ids.push_back(GetMenuItemID(menu, i));
    g_seen.texts.push_back(ItemText(menu, static_cast<UINT>(i)));
  }
  EndMenu();
}

TEST_F(MenuTest, PopupMenuShowsTheSubItemsOfAHiddenTopItem) {
  rt::Runtime().windows[kWindowId] = AppWindow();
  g_seen = PopupSeen();
  UINT_PTR timer = SetTimer(nullptr, 0, 50, &InspectPopup);
  rt::ArgRecord args[4] = {{kWindowId, 0, rt::TypeWindow}, {kWindowId, 0x26010001, rt::TypeMenu},
                           rt::IntArg(100), rt::OmittedArg()};
  rt::ResultRecord result = {};
  comp::PopupMenuCommand(&result, 4, args);
  KillTimer(nullptr, timer);
  rt::Runtime().windows.erase(kWindowId);
  ASSERT_TRUE(g_seen.found);
  // Item k of the run has id 20000 + k: the hidden top item is 20000.
  EXPECT_EQ(g_seen.ids, (std::vector<UINT>{20001, 0, 20003, 0, 20005}));
  ASSERT_EQ(g_seen.texts.size(), 5u);
  EXPECT_EQ(g_seen.texts[0], "提取选中图标(&S)");
  EXPECT_EQ(g_seen.texts[4], "关于(&A)");
}

TEST_F(MenuTest, PopupMenuIgnoresItemsWithoutSubItemsAndOtherWindows) {
  rt::Runtime().windows[kWindowId] = AppWindow();
  g_seen = PopupSeen();
  UINT_PTR timer = SetTimer(nullptr, 0, 30, &InspectPopup);
  rt::ResultRecord result = {};
  rt::ArgRecord leaf[4] = {{kWindowId, 0, rt::TypeWindow}, {kWindowId, 0x26010006, rt::TypeMenu},
                           rt::OmittedArg(), rt::OmittedArg()};
  comp::PopupMenuCommand(&result, 4, leaf);
  rt::ArgRecord other[4] = {{kWindowId, 0, rt::TypeWindow}, {kWindowId + 1, 0x26010001, rt::TypeMenu},
                            rt::OmittedArg(), rt::OmittedArg()};
  comp::PopupMenuCommand(&result, 4, other);
  Pump(100);
  KillTimer(nullptr, timer);
  rt::Runtime().windows.erase(kWindowId);
  EXPECT_FALSE(g_seen.found);
}

TEST_F(MenuTest, PropertyWritesRebuildOnlyOnAChange) {
  rt::WindowTemplate w = AppWindow();
  HACCEL accel = nullptr;
  SetMenu(parent(), comp::BuildMenuBar(w, &accel));
  rt::ElementTemplate& save = w.elements[8];
  EXPECT_FALSE(comp::SetMenuItemProperty(w, save, comp::MenuDisabledProperty, 0));
  EXPECT_TRUE(comp::SetMenuItemProperty(w, save, comp::MenuDisabledProperty, 1));
  EXPECT_FALSE(comp::SetMenuItemProperty(w, save, comp::MenuDisabledProperty, 7));
  EXPECT_FALSE(comp::SetMenuItemProperty(w, save, comp::MenuCaption,
                                         static_cast<uint32_t>(reinterpret_cast<uintptr_t>("保存(&S)"))));
  HMENU before = GetMenu(parent());
  comp::RebuildMenuBar(parent(), w, &accel);
  HMENU after = GetMenu(parent());
  EXPECT_NE(after, before);
  EXPECT_TRUE(GetMenuState(GetSubMenu(after, 0), 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_NE(accel, nullptr);

  // Showing the hidden top item adds it to the bar.
  EXPECT_TRUE(comp::SetMenuItemProperty(w, w.elements[1], comp::MenuVisibleProperty, 1));
  comp::RebuildMenuBar(parent(), w, &accel);
  EXPECT_EQ(GetMenuItemCount(GetMenu(parent())), 2);
  EXPECT_EQ(comp::GetMenuItemProperty(w.elements[1], comp::MenuVisibleProperty), 1u);
  char* caption = reinterpret_cast<char*>(
      static_cast<uintptr_t>(comp::GetMenuItemProperty(w.elements[1], comp::MenuCaption)));
  EXPECT_STREQ(caption, "右键菜单");
  rt::FreeMemory(caption);
  if (accel) DestroyAcceleratorTable(accel);
}

}  // namespace
}  // namespace comptest
