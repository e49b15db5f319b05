// The ListView component: a "SysListView32" control built from its property blob,
// with three image lists read from image-list data, an initial column and item
// table, and events raised from the notifications its parent reflects to it.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component.h"
#include "components/component_type.h"
#include "components/control_style.h"
#include "components/list_view/image_list_commands.h"
#include "formats/records/list_view_data.h"
#include "runtime/program_image.h"

namespace comp {

// Window styles that the properties give the control.
DWORD ListViewStyle(const ListViewData& p);
DWORD ListViewExtendedStyle(const ListViewData& p);
// 1 when a change of this property needs the control re-created in its new state.
bool ListViewNeedsRecreate(const ListViewData& p, int32_t index);

class ListView : public StoredComponent<ListViewData> {
 public:
  static constexpr UINT kCheckChangedMessage = WM_USER + 1;
  // Posted by the first insertion into a visible list: drawing resumes once the
  // program's run of insertions is over and messages flow again.
  static constexpr UINT kResumeDrawingMessage = WM_USER + 2;

  // Null when the blob does not read or the control cannot be created.
  static ListView* Create(const CreateArgs& args);
  ~ListView() override;

  // The list view's own properties (components/property_list.h), with the flag words 0,
  // 1 (tables) and 4 (read only).  The colours and the selected item are asked of the
  // control by GetProperty itself.
#define COMP_LIST_VIEW_PROPERTIES(X, C)                                                                       \
  X(Border, rt::KindChoice, border)                                                                           \
  C(TextColor, rt::KindTextColor) C(TextBackColor, rt::KindColor) C(BackColor, rt::KindBackColor)             \
  X(Font, rt::KindFont, font) X(ViewType, rt::KindChoice, viewType) X(Alignment, rt::KindChoice, alignment)   \
  X(AutoArrange, rt::KindLogical, autoArrange) X(WrapLabels, rt::KindLogical, wrapLabels)                     \
  X(Columns, Property(rt::KindCustomData, 1), columns) X(HideColumnHeader, rt::KindLogical, hideColumnHeader) \
  X(HeaderImages, rt::KindImageList, headerImages) X(SortableHeader, rt::KindLogical, sortableHeader)         \
  X(FullRowSelect, rt::KindLogical, fullRowSelect) X(GridLines, rt::KindLogical, gridLines)                   \
  X(DragColumns, rt::KindLogical, dragColumns)                                                                \
  X(Images, rt::KindImageList, images) X(StateImages, rt::KindImageList, stateImages)                         \
  X(HotTracking, rt::KindLogical, hotTracking) X(HandCursor, rt::KindLogical, handCursor)                     \
  X(UnderlineHot, rt::KindLogical, underlineHot) X(UnderlineCold, rt::KindLogical, underlineCold)             \
  X(EditLabels, rt::KindLogical, editLabels) X(SortOrder, rt::KindChoice, sortOrder)                          \
  X(CheckBoxes, rt::KindLogical, checkBoxes) X(FlatScrollBars, rt::KindLogical, flatScrollBars)               \
  X(SingleSelection, rt::KindLogical, singleSelection) C(SelectedItem, rt::KindInteger)                       \
  X(AlwaysShowSelection, rt::KindLogical, alwaysShowSelection)                                                \
  X(Items, Property(rt::KindCustomData, 1), items) X(EditedText, Property(rt::KindText, 4), editedText)
  COMP_PROPERTIES(ListViewData, 0, COMP_LIST_VIEW_PROPERTIES);
#undef COMP_LIST_VIEW_PROPERTIES

  // list_view_properties.cpp: the property slots.
  int32_t PropertyChanged(int32_t index, const rt::PropertyData& data);
  bool GetProperty(int32_t index, rt::PropertyData* data);

  // The list commands.
  int32_t ItemCount() const;
  void DeleteAllItems();
  // position < 0: after the last item; stateImage < 0 with hasState: state 0.
  int32_t InsertItem(int32_t position, const char* text, int32_t image, bool hasState, int32_t stateImage,
                     int32_t indent, int32_t data);
  std::vector<int32_t> SelectedItems() const;

 private:
  bool drawingHeld_ = false;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  ListView(uint32_t windowId, uint32_t componentId);

  // list_view.cpp: applying properties.
  void ApplyFont();
  void ApplyColours();
  void ApplyBorder();
  void ApplyHotCursor();
  void SetItemImages();
  void SetStateImages();
  void SetHeaderImages(bool atCreation);
  void ApplySelectedItem();
  void InsertColumns();
  void InsertItemTable();
  void ApplyStyleBit(DWORD bit, bool on);

  // list_view_events.cpp: notifications.
  bool OnNotify(NMHDR* header, LRESULT* result);
  void PostCheckIfOnStateIcon(int32_t item, POINT at);
  void OnCheckChanged(int32_t item);

  rt::ImageListHandle images_;
  rt::ImageListHandle stateImages_;
  rt::ImageListHandle headerImages_;
  ComponentFont font_;
  std::vector<std::string> tips_;  // info tip of each new item of the item table
};

}  // namespace comp
