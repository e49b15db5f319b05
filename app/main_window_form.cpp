// The main window, element for element.  Rectangles are left, top, width, height in
// pixels; flags V visible, T tab stop; every tab order is 0.  Colours are 0x00BBGGRR.
#include "app/main_window_form.h"

#include <string>
#include <utility>

#include "app/app_ids.h"
#include "app/routine_table.h"
#include "app/window_icon.h"
#include "formats/records/button_data.h"
#include "formats/records/edit_box_data.h"
#include "formats/records/label_data.h"
#include "formats/records/list_view_data.h"
#include "formats/records/window_data.h"
#include "formats/byte_reader.h"

namespace app {
namespace {

constexpr uint32_t V = rt::StateVisible;
constexpr uint32_t T = rt::StateTabStop;

struct Rect {
  int32_t left, top, width, height;
};
struct Binding {
  int32_t event;
  Routine routine;
};

rt::ElementTemplate Element(uint32_t id, uint32_t type, const char* name, Rect r, uint32_t flags,
                            std::vector<uint8_t> properties, std::initializer_list<Binding> events = {}) {
  rt::ElementTemplate e;
  e.id = id;
  e.typeId = type;
  e.name = name;
  e.left = r.left;
  e.top = r.top;
  e.width = r.width;
  e.height = r.height;
  e.mousePointer = {0, 0, 0, 0};  // pointer number 0: the default pointer
  e.stateFlags = flags;
  e.properties = std::move(properties);
  for (const Binding& b : events) e.events.push_back({b.event, RoutineOffset(b.routine), 0});
  return e;
}

rt::ElementTemplate MenuItem(uint32_t id, int32_t level, bool hidden, const char* caption,
                             const Routine* routine = nullptr) {
  rt::ElementTemplate e;
  e.id = id;
  e.typeId = rt::TypeMenu;
  e.level = level;
  e.itemFlags = hidden ? static_cast<uint32_t>(rt::MenuHidden) : 0u;
  e.caption = caption;
  e.routineOffset = routine ? RoutineOffset(*routine) : rt::kNoRoutineOffset;
  return e;
}

std::vector<uint8_t> WindowData() {
  comp::WindowData w;
  w.caption = "Quenlor-------可以提取任何文件图标";
  w.border = comp::BorderFixed;
  w.backColour = comp::kButtonFaceColor;
  w.maxButton = false;
  w.minButton = true;
  w.controlBox = true;
  w.startPosition = comp::StartCentred;
  w.movable = true;
  w.icon = WindowIconFile();
  w.enterMovesFocus = false;
  w.escapeCloses = false;
  w.f1Help = false;
  w.showInTaskbar = true;
  w.dragByClient = false;
  w.alwaysOnTop = false;
  return w.Write();
}

std::vector<uint8_t> LabelData(const char* caption, uint32_t textColour, int32_t horzAlign) {
  comp::LabelData l;  // the defaults: no effect or border, centred vertically, one line on the button face
  l.caption = caption;
  l.textColor = textColour;
  l.horzAlign = horzAlign;
  return l.Write();
}

// A 60-byte LOGFONTA record.
std::vector<uint8_t> FontRecord(const char* face, int32_t height, int32_t weight, uint8_t charSet) {
  rt::ByteAppender f;
  f.i32(height);
  f.i32(0);  // width
  f.i32(0);  // escapement
  f.i32(0);  // orientation
  f.i32(weight);
  f.u8(0);   // italic
  f.u8(0);   // underline
  f.u8(0);   // strike-out
  f.u8(charSet);
  f.u8(0);   // out precision
  f.u8(0);   // clip precision
  f.u8(0);   // quality
  f.u8(0);   // pitch and family
  char name[32] = {};
  std::string s(face);
  s.copy(name, sizeof name - 1);
  f.bytes(name, sizeof name);
  return f.take();
}

std::vector<uint8_t> ButtonData(const char* caption, int32_t buttonType, std::vector<uint8_t> font) {
  comp::ButtonData b;  // the defaults: the caption centred both ways
  b.caption = caption;
  b.buttonType = buttonType;
  b.font = std::move(font);
  return b.Write();
}

std::vector<uint8_t> PathEditData() {
  comp::EditBoxData e;  // the defaults: one line, black on white, any length, no spin box
  e.content = "C:\\WINDOWS\\system32\\shell32.dll";
  return e.Write();
}

std::vector<uint8_t> IconListData() {
  comp::ListViewData l;  // the defaults: border, large icons, black on white, ...
  l.singleSelection = false;   // several icons can be selected
  return l.Write();
}

}  // namespace

rt::WindowTable MainWindowTable() {
  const Routine extractSelected = Routine::ExtractSelected;
  const Routine extractAll = Routine::ExtractAll;
  const Routine about = Routine::About;

  rt::WindowTemplate w;
  w.id = kMainWindow;
  w.elements = {
      Element(kWindowElement, rt::TypeWindow, "", {50, 50, 573, 391}, V, WindowData(),
              {{0, Routine::WindowCreated}}),
      Element(kBrandLabel, rt::TypeLabel, "标签3", {424, 335, 129, 16}, V, LabelData("Quenlor", 0x0000FF00, 2)),
      Element(kStatusLabel, rt::TypeLabel, "标签2", {9, 338, 241, 13}, V, LabelData("", 0x00FF0090, 0)),
      Element(kPromptLabel, rt::TypeLabel, "标签1", {7, 5, 201, 24}, V,
              LabelData("请选择或拖放一个文件以提取图标：", 0x00FF0000, 0)),
      Element(kBrowseButton, rt::TypeButton, "按钮1", {463, 31, 24, 24}, V | T,
              ButtonData("...", 0, FontRecord("宋体", -10, 400, 0x86)), {{0, Routine::BrowseClicked}}),
      Element(kPathEdit, rt::TypeEditBox, "编辑框1", {7, 31, 452, 24}, V | T, PathEditData()),
      MenuItem(kContextMenu, 0, true, "右键菜单"),
      MenuItem(kExtractSelectedItem, 1, false, "提取选中图标(&S)", &extractSelected),
      MenuItem(kSeparator1, 1, false, "-"),
      MenuItem(kExtractAllItem, 1, false, "提取所有图标(&L)", &extractAll),
      MenuItem(kSeparator2, 1, false, "-"),
      MenuItem(kAboutItem, 1, false, "关于(&A)", &about),
      Element(kDropTarget, rt::TypeDropTarget, "拖放对象1", {336, 286, 26, 26}, 0, {}, {{3, Routine::FilesDropped}}),
      Element(kOpenDialog, rt::TypeCommonDlg, "通用对话框", {367, 284, 28, 28}, 0, {}),
      Element(kLoadButton, rt::TypeButton, "图像_打开文件", {493, 31, 64, 24}, V | T, ButtonData("提取", 1, {}),
              {{0, Routine::LoadClicked}}),
      Element(kIconList, rt::TypeListView, "超级列表框1", {7, 61, 550, 267}, V | T, IconListData(),
              {{5, Routine::ListRightClicked}}),
  };
  rt::WindowTable table;
  table.emplace(kMainWindow, std::move(w));
  return table;
}

std::vector<uint8_t> MainWindowFormDescription() { return rt::WriteFormDescription(MainWindowTable()); }

}  // namespace app
