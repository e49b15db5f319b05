// The form description that the program image carries: the bytes the build wrote,
// read back with the runtime's reader as the program reads them at start-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_ids.h"
#include "app/main_window_form.h"
#include "app/main_window_form_bytes.h"
#include "app/routine_table.h"
#include "components/edit_box.h"
#include "components/list_view.h"
#include "components/window_properties.h"
#include "runtime/window_table.h"

namespace app_test {
namespace {

using app::Routine;

constexpr uint32_t kCodeBase = 0x00401000;  // any address: offsets are relative to it

rt::WindowTable ReadEmbeddedForm() {
  rt::WindowTable table;
  EXPECT_TRUE(rt::ReadFormDescription(app::kMainWindowForm, app::kMainWindowFormLength, table));
  rt::RelocateRoutines(table, kCodeBase);
  return table;
}

uint32_t At(Routine routine) { return kCodeBase + static_cast<uint32_t>(app::RoutineOffset(routine)); }

TEST(MainWindowForm, TheBuiltBytesAreTheDeclarationWritten) {
  const std::vector<uint8_t> declared = app::MainWindowFormDescription();
  ASSERT_EQ(app::kMainWindowFormLength, declared.size());
  EXPECT_EQ(std::vector<uint8_t>(app::kMainWindowForm, app::kMainWindowForm + app::kMainWindowFormLength), declared);
}

TEST(MainWindowForm, HoldsOnlyTheMainWindowWithItsSixteenElementsInStoredOrder) {
  const rt::WindowTable table = ReadEmbeddedForm();
  ASSERT_EQ(table.size(), 1u);
  ASSERT_EQ(table.begin()->first, app::kMainWindow);
  const std::vector<rt::ElementTemplate>& e = table.begin()->second.elements;
  ASSERT_EQ(e.size(), 16u);

  struct Expected {
    uint32_t id, type;
    const char* name;
    int32_t left, top, width, height;
    uint32_t flags;
  };
  constexpr uint32_t V = rt::StateVisible, T = rt::StateTabStop;
  const Expected components[] = {
      {app::kWindowElement, 0x10001, "", 50, 50, 573, 391, V},
      {app::kBrandLabel, 0x1000a, "标签3", 424, 335, 129, 16, V},
      {app::kStatusLabel, 0x1000a, "标签2", 9, 338, 241, 13, V},
      {app::kPromptLabel, 0x1000a, "标签1", 7, 5, 201, 24, V},
      {app::kBrowseButton, 0x1000b, "按钮1", 463, 31, 24, 24, V | T},
      {app::kPathEdit, 0x10005, "编辑框1", 7, 31, 452, 24, V | T},
  };
  const Expected tail[] = {
      {app::kDropTarget, 0x60001, "拖放对象1", 336, 286, 26, 26, 0},
      {app::kOpenDialog, 0x1001f, "通用对话框", 367, 284, 28, 28, 0},
      {app::kLoadButton, 0x1000b, "图像_打开文件", 493, 31, 64, 24, V | T},
      {app::kIconList, 0x20004, "超级列表框1", 7, 61, 550, 267, V | T},
  };
  auto check = [&](const Expected& x, const rt::ElementTemplate& got) {
    SCOPED_TRACE(x.name);
    EXPECT_EQ(got.id, x.id);
    EXPECT_EQ(got.typeId, x.type);
    EXPECT_EQ(got.name, x.name);
    EXPECT_EQ((std::vector<int32_t>{got.left, got.top, got.width, got.height}),
              (std::vector<int32_t>{x.left, x.top, x.width, x.height}));
    EXPECT_EQ(got.stateFlags, x.flags);
    EXPECT_EQ(got.tabOrder, 0);
    EXPECT_EQ(got.parentId, 0u);
    EXPECT_EQ(got.mousePointer, std::vector<uint8_t>(4, 0));
  };
  for (size_t i = 0; i < 6; ++i) check(components[i], e[i]);
  for (size_t i = 0; i < 4; ++i) check(tail[i], e[12 + i]);

  struct Item {
    uint32_t id;
    int32_t level;
    bool hidden;
    const char* caption;
    uint32_t routine;
  };
  const Item menu[] = {
      {app::kContextMenu, 0, true, "右键菜单", 0},
      {app::kExtractSelectedItem, 1, false, "提取选中图标(&S)", At(Routine::ExtractSelected)},
      {app::kSeparator1, 1, false, "-", 0},
      {app::kExtractAllItem, 1, false, "提取所有图标(&L)", At(Routine::ExtractAll)},
      {app::kSeparator2, 1, false, "-", 0},
      {app::kAboutItem, 1, false, "关于(&A)", At(Routine::About)},
  };
  for (size_t i = 0; i < 6; ++i) {
    const rt::ElementTemplate& got = e[6 + i];
    SCOPED_TRACE(menu[i].caption);
    EXPECT_EQ(got.id, menu[i].id);
    EXPECT_TRUE(got.IsMenuItem());
    EXPECT_EQ(got.level, menu[i].level);
    EXPECT_EQ(got.itemFlags, menu[i].hidden ? static_cast<uint32_t>(rt::MenuHidden) : 0u);
    EXPECT_EQ(got.caption, menu[i].caption);
    EXPECT_EQ(got.routine, menu[i].routine);
    EXPECT_EQ(got.shortcut, 0);
  }
}

TEST(MainWindowForm, BindsExactlyTheFiveComponentEventsToTheirRoutines) {
  const rt::WindowTable table = ReadEmbeddedForm();
  ASSERT_EQ(table.size(), 1u);
  std::vector<std::string> bound;
  for (const rt::ElementTemplate& element : table.begin()->second.elements) {
    for (const rt::EventBinding& b : element.events) {
      bound.push_back(std::to_string(element.id) + "/" + std::to_string(b.eventIndex) + "=" +
                      std::to_string(b.routine));
    }
  }
  auto binding = [](uint32_t id, int event, Routine r) {
    return std::to_string(id) + "/" + std::to_string(event) + "=" + std::to_string(At(r));
  };
  EXPECT_EQ(bound, (std::vector<std::string>{
                       binding(app::kWindowElement, 0, Routine::WindowCreated),
                       binding(app::kBrowseButton, 0, Routine::BrowseClicked),
                       binding(app::kDropTarget, 3, Routine::FilesDropped),
                       binding(app::kLoadButton, 0, Routine::LoadClicked),
                       binding(app::kIconList, 5, Routine::ListRightClicked),
                   }));
}

TEST(MainWindowForm, StoresTheWindowAndComponentPropertiesTheToolStartsWith) {
  const rt::WindowTable table = ReadEmbeddedForm();
  ASSERT_EQ(table.size(), 1u);
  const std::vector<rt::ElementTemplate>& e = table.begin()->second.elements;
  ASSERT_EQ(e.size(), 16u);
  comp::WindowProperties window;
  ASSERT_TRUE(window.Read(e[0].properties.data(), e[0].properties.size()));
  EXPECT_EQ(window.caption, "Quenlor-------可以提取任何文件图标");
  EXPECT_EQ(window.border, comp::BorderFixed);
  EXPECT_EQ(window.startPosition, comp::StartCentred);
  EXPECT_TRUE(window.minButton);
  EXPECT_FALSE(window.maxButton);
  EXPECT_FALSE(window.escapeCloses);
  EXPECT_EQ(window.icon.size(), 1150u);

  comp::EditBoxData edit;
  ASSERT_TRUE(edit.Read(e[5].properties.data(), e[5].properties.size()));
  EXPECT_EQ(edit.content, "C:\\WINDOWS\\system32\\shell32.dll");

  comp::ListViewProperties list;
  ASSERT_TRUE(list.Read(e[15].properties.data(), e[15].properties.size()));
  EXPECT_FALSE(list.singleSelection) << "several icons can be selected";
  EXPECT_TRUE(list.IconView());

  EXPECT_TRUE(e[12].properties.empty()) << "the drop target keeps its defaults";
  EXPECT_TRUE(e[13].properties.empty()) << "the common dialog keeps its defaults";
}

}  // namespace
}  // namespace app_test
