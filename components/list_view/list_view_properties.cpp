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
    case ListView::PViewType:
    case ListView::PHotTracking:
    case ListView::PEditLabels:
    case ListView::PSortOrder:
    case ListView::PCheckBoxes:
    case ListView::PFlatScrollBars:
    case ListView::PSingleSelection:
    case ListView::PAlwaysShowSelection:
      return true;
    case ListView::PAlignment:
    case ListView::PAutoArrange:
      return p.IconView();
    case ListView::PColumns:
    case ListView::PSortableHeader:
    case ListView::PFullRowSelect:
    case ListView::PGridLines:
    case ListView::PDragColumns:
      return p.ReportView();
    case ListView::PHandCursor:
    case ListView::PUnderlineHot:
    case ListView::PUnderlineCold:
      return p.hotTracking;
    default:
      return false;
  }
}

int32_t ListView::PropertyChanged(int32_t index, const rt::PropertyData& data) {
  const int32_t value = static_cast<int32_t>(data.value);
  const bool flag = data.value != 0;
  ListViewData& p = data_;
  switch (index) {
    case PBorder: p.border = std::clamp(value, 0, 5); ApplyBorder(); break;
    case PTextColor: p.textColor = data.value; ApplyColours(); break;
    case PTextBackColor: p.textBackColor = data.value; ApplyColours(); break;
    case PBackColor: p.backColor = data.value; ApplyColours(); break;
    case PFont: p.font = BytesOfData(data); ApplyFont(); break;
    case PViewType: p.viewType = std::clamp(value, 0, 3); break;
    case PAlignment: p.alignment = std::clamp(value, 0, 1); break;
    case PAutoArrange: p.autoArrange = flag; break;
    case PWrapLabels:
      p.wrapLabels = flag;
      if (p.IconView()) ApplyStyleBit(LVS_NOLABELWRAP, !flag);
      break;
    case PColumns: p.columns = BytesOfData(data); break;
    case PHideColumnHeader:
      p.hideColumnHeader = flag;
      if (p.ReportView()) ApplyStyleBit(LVS_NOCOLUMNHEADER, flag);
      break;
    case PHeaderImages: p.headerImages = BytesOfData(data); SetHeaderImages(false); break;
    case PSortableHeader: p.sortableHeader = flag; break;
    case PFullRowSelect: p.fullRowSelect = flag; break;
    case PGridLines: p.gridLines = flag; break;
    case PDragColumns: p.dragColumns = flag; break;
    case PImages: p.images = BytesOfData(data); SetItemImages(); break;
    case PStateImages: p.stateImages = BytesOfData(data); SetStateImages(); break;
    case PHotTracking: p.hotTracking = flag; break;
    case PHandCursor: p.handCursor = flag; break;
    case PUnderlineHot: p.underlineHot = flag; break;
    case PUnderlineCold: p.underlineCold = flag; break;
    case PEditLabels: p.editLabels = flag; break;
    case PSortOrder: p.sortOrder = std::clamp(value, 0, 2); break;
    case PCheckBoxes: p.checkBoxes = flag; break;
    case PFlatScrollBars: p.flatScrollBars = flag; break;
    case PSingleSelection: p.singleSelection = flag; break;
    case PSelectedItem: p.selectedItem = std::max(value, -1); ApplySelectedItem(); break;
    case PAlwaysShowSelection: p.alwaysShowSelection = flag; break;
    case PItems:
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
  PutInt(data, 0);
  switch (index) {
    case PTextColor: data->value = static_cast<uint32_t>(SendMessageA(hwnd(), LVM_GETTEXTCOLOR, 0, 0)); break;
    case PTextBackColor: data->value = static_cast<uint32_t>(SendMessageA(hwnd(), LVM_GETTEXTBKCOLOR, 0, 0)); break;
    case PBackColor: data->value = static_cast<uint32_t>(SendMessageA(hwnd(), LVM_GETBKCOLOR, 0, 0)); break;
    case PSelectedItem:
      PutInt(data, static_cast<int32_t>(SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
      break;
    default: return PutStoredField(data_, kProperties, index, data);
  }
  return true;
}

}  // namespace comp
