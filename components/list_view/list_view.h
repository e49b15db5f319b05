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

// Property indexes as the type's handler sees them (property 8 is 0).
enum ListViewProperty : int32_t {
  LvBorder, LvTextColor, LvTextBackColor, LvBackColor, LvFont, LvViewType, LvAlignment, LvAutoArrange,
  LvWrapLabels, LvColumns, LvHideColumnHeader, LvHeaderImages, LvSortableHeader, LvFullRowSelect,
  LvGridLines, LvDragColumns, LvImages, LvStateImages, LvHotTracking, LvHandCursor, LvUnderlineHot,
  LvUnderlineCold, LvEditLabels, LvSortOrder, LvCheckBoxes, LvFlatScrollBars, LvSingleSelection,
  LvSelectedItem, LvAlwaysShowSelection, LvItems, LvEditedText,
  LvPropertyCount  // 31 own properties, 39 with the common ones
};

// Window styles that the properties give the control.
DWORD ListViewStyle(const ListViewData& p);
DWORD ListViewExtendedStyle(const ListViewData& p);
// 1 when a change of this property needs the control re-created in its new state.
bool ListViewNeedsRecreate(const ListViewData& p, int32_t index);

class ListView : public Component {
 public:
  static constexpr UINT kCheckChangedMessage = WM_USER + 1;
  // Posted by the first insertion into a visible list: drawing resumes once the
  // program's run of insertions is over and messages flow again.
  static constexpr UINT kResumeDrawingMessage = WM_USER + 2;

  // Null when the blob does not read or the control cannot be created.
  static ListView* Create(const CreateArgs& args);
  ~ListView() override;

  // list_view_properties.cpp: the property slots.
  int32_t PropertyChanged(int32_t index, const rt::PropertyData& data);
  bool GetProperty(int32_t index, rt::PropertyData* data);
  std::vector<uint8_t> WriteProperties() const;
  const ListViewData& properties() const { return props_; }

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

  ListViewData props_;
  rt::ImageListHandle images_;
  rt::ImageListHandle stateImages_;
  rt::ImageListHandle headerImages_;
  ComponentFont font_;
  std::vector<std::string> tips_;  // info tip of each new item of the item table
};

}  // namespace comp
