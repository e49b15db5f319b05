// The window styles and re-creation rules that the ListView's properties give.
#include <algorithm>

#include "components/list_view.h"

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

}  // namespace comp
