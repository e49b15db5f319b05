// The ListView's property slots: a written property applied to the control, a read one
// taken from it, and the whole blob; and the window styles and re-creation rules that
// the properties give.
#include <algorithm>

#include "components/list_view/list_view.h"
#include "components/property_data.h"

namespace comp {

DWORD ListViewStyle(const ListViewData& p) {
  static const DWORD kViews[4] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  // The component owns its image lists: the control must not destroy them.
  DWORD style = kViews[std::clamp(p.viewType, 0, 3)] | LVS_SHAREIMAGELISTS;
  if (p.IconView()) {
    if (p.alignment == 1) style |= LVS_ALIGNLEFT;
    if (p.autoArrange) style |= LVS_AUTOARRANGE;
    if (!p.wrapLabels) style |= LVS_NOLABELWRAP;
  }
  if (p.ReportView()) {
    if (p.hideColumnHeader) style |= LVS_NOCOLUMNHEADER;
    else if (!p.sortableHeader) style |= LVS_NOSORTHEADER;
  }
  if (p.editLabels) style |= LVS_EDITLABELS;
  if (p.sortOrder == 1) style |= LVS_SORTASCENDING;
  if (p.sortOrder == 2) style |= LVS_SORTDESCENDING;
  if (p.singleSelection) style |= LVS_SINGLESEL;
  if (p.alwaysShowSelection) style |= LVS_SHOWSELALWAYS;
  if (p.border == 5) style |= WS_BORDER;
  return style;
}

DWORD ListViewExtendedStyle(const ListViewData& p) {
  DWORD ex = LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
  if (p.ReportView()) {
    if (p.fullRowSelect) ex |= LVS_EX_FULLROWSELECT;
    if (p.gridLines) ex |= LVS_EX_GRIDLINES;
    if (p.dragColumns && !p.hideColumnHeader) ex |= LVS_EX_HEADERDRAGDROP;
  }
  if (p.hotTracking) {
    ex |= LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE;
    if (p.underlineHot) ex |= LVS_EX_UNDERLINEHOT;
    if (p.underlineCold) ex |= LVS_EX_UNDERLINECOLD;
  }
  if (p.checkBoxes) ex |= LVS_EX_CHECKBOXES;
  if (p.flatScrollBars) ex |= LVS_EX_FLATSB;
  return ex;
}

bool ListViewNeedsRecreate(const ListViewData& p, int32_t index) {
  switch (index) {
    case LvViewType:
    case LvHotTracking:
    case LvEditLabels:
    case LvSortOrder:
    case LvCheckBoxes:
    case LvFlatScrollBars:
    case LvSingleSelection:
    case LvAlwaysShowSelection:
      return true;
    case LvAlignment:
    case LvAutoArrange:
      return p.IconView();
    case LvColumns:
    case LvSortableHeader:
    case LvFullRowSelect:
    case LvGridLines:
    case LvDragColumns:
      return p.ReportView();
    case LvHandCursor:
    case LvUnderlineHot:
    case LvUnderlineCold:
      return p.hotTracking;
    default:
      return false;
  }
}

int32_t ListView::PropertyChanged(int32_t index, const rt::PropertyData& data) {
  const int32_t value = static_cast<int32_t>(data.value);
  const bool flag = data.value != 0;
  ListViewData& p = props_;
  switch (index) {
    case LvBorder: p.border = std::clamp(value, 0, 5); ApplyBorder(); break;
    case LvTextColor: p.textColor = data.value; ApplyColours(); break;
    case LvTextBackColor: p.textBackColor = data.value; ApplyColours(); break;
    case LvBackColor: p.backColor = data.value; ApplyColours(); break;
    case LvFont: p.font = BytesOfData(data); ApplyFont(); break;
    case LvViewType: p.viewType = std::clamp(value, 0, 3); break;
    case LvAlignment: p.alignment = std::clamp(value, 0, 1); break;
    case LvAutoArrange: p.autoArrange = flag; break;
    case LvWrapLabels:
      p.wrapLabels = flag;
      if (p.IconView()) ApplyStyleBit(LVS_NOLABELWRAP, !flag);
      break;
    case LvColumns: p.columns = BytesOfData(data); break;
    case LvHideColumnHeader:
      p.hideColumnHeader = flag;
      if (p.ReportView()) ApplyStyleBit(LVS_NOCOLUMNHEADER, flag);
      break;
    case LvHeaderImages: p.headerImages = BytesOfData(data); SetHeaderImages(false); break;
    case LvSortableHeader: p.sortableHeader = flag; break;
    case LvFullRowSelect: p.fullRowSelect = flag; break;
    case LvGridLines: p.gridLines = flag; break;
    case LvDragColumns: p.dragColumns = flag; break;
    case LvImages: p.images = BytesOfData(data); SetItemImages(); break;
    case LvStateImages: p.stateImages = BytesOfData(data); SetStateImages(); break;
    case LvHotTracking: p.hotTracking = flag; break;
    case LvHandCursor: p.handCursor = flag; break;
    case LvUnderlineHot: p.underlineHot = flag; break;
    case LvUnderlineCold: p.underlineCold = flag; break;
    case LvEditLabels: p.editLabels = flag; break;
    case LvSortOrder: p.sortOrder = std::clamp(value, 0, 2); break;
    case LvCheckBoxes: p.checkBoxes = flag; break;
    case LvFlatScrollBars: p.flatScrollBars = flag; break;
    case LvSingleSelection: p.singleSelection = flag; break;
    case LvSelectedItem: p.selectedItem = std::max(value, -1); ApplySelectedItem(); break;
    case LvAlwaysShowSelection: p.alwaysShowSelection = flag; break;
    case LvItems:
      p.items = BytesOfData(data);
      DeleteAllItems();
      InsertItemTable();
      break;
    default:  // EditedText is read only
      return 0;
  }
  return ListViewNeedsRecreate(p, index) ? 1 : 0;
}

bool ListView::GetProperty(int32_t index, rt::PropertyData* data) {
  using P = ListViewData;
  // The colours and the selected item are asked of the control below.
  static const StoredField<P> kFields[] = {
      &P::border, {}, {}, {}, &P::font, &P::viewType, &P::alignment, &P::autoArrange, &P::wrapLabels, &P::columns,
      &P::hideColumnHeader, &P::headerImages, &P::sortableHeader, &P::fullRowSelect, &P::gridLines, &P::dragColumns,
      &P::images, &P::stateImages, &P::hotTracking, &P::handCursor, &P::underlineHot, &P::underlineCold,
      &P::editLabels, &P::sortOrder, &P::checkBoxes, &P::flatScrollBars, &P::singleSelection, {},
      &P::alwaysShowSelection, &P::items, &P::editedText};
  static_assert(sizeof kFields / sizeof kFields[0] == LvPropertyCount, "a field for every list property");
  PutInt(data, 0);
  switch (index) {
    case LvTextColor: data->value = static_cast<uint32_t>(SendMessageA(hwnd(), LVM_GETTEXTCOLOR, 0, 0)); break;
    case LvTextBackColor: data->value = static_cast<uint32_t>(SendMessageA(hwnd(), LVM_GETTEXTBKCOLOR, 0, 0)); break;
    case LvBackColor: data->value = static_cast<uint32_t>(SendMessageA(hwnd(), LVM_GETBKCOLOR, 0, 0)); break;
    case LvSelectedItem:
      PutInt(data, static_cast<int32_t>(SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
      break;
    default: return PutStoredField(props_, kFields, index, data);
  }
  return true;
}

std::vector<uint8_t> ListView::WriteProperties() const { return props_.Write(); }

}  // namespace comp
