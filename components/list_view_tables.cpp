// ListView data without a window: the property blob, the column and item tables,
// and the style and re-creation rules derived from the properties.
#include <algorithm>

#include "components/list_view.h"
#include "runtime/byte_reader.h"

namespace comp {
namespace {
constexpr int32_t kBlobVersion = 1;
bool Flag(rt::ByteReader& r) { return r.i32() != 0; }
}  // namespace

bool ListViewProperties::Read(const uint8_t* blob, size_t size) {
  *this = ListViewProperties();
  rt::ByteReader r(blob, size);
  const int32_t version = r.i32();
  if (!r.ok() || version > kBlobVersion) return false;
  ListViewProperties p;
  p.border = r.i32();
  p.textColor = r.u32();
  p.textBackColor = r.u32();
  p.backColor = r.u32();
  p.viewType = r.i32();
  p.alignment = r.i32();
  p.autoArrange = Flag(r);
  p.wrapLabels = Flag(r);
  p.hideColumnHeader = Flag(r);
  p.sortableHeader = Flag(r);
  p.fullRowSelect = Flag(r);
  p.gridLines = Flag(r);
  p.dragColumns = Flag(r);
  p.hotTracking = Flag(r);
  p.handCursor = Flag(r);
  p.underlineHot = Flag(r);
  p.underlineCold = Flag(r);
  p.editLabels = Flag(r);
  p.sortOrder = r.i32();
  p.checkBoxes = Flag(r);
  p.flatScrollBars = Flag(r);
  p.singleSelection = Flag(r);
  p.selectedItem = r.i32();
  p.alwaysShowSelection = Flag(r);
  p.font = r.counted();
  p.headerImages = r.counted();
  p.images = r.counted();
  p.columns = r.counted();
  p.stateImages = r.counted();
  p.items = r.counted();
  if (!r.ok()) return false;
  // Stored values keep the ranges that the property handler enforces.
  p.border = std::clamp(p.border, 0, 5);
  p.viewType = std::clamp(p.viewType, 0, 3);
  p.alignment = std::clamp(p.alignment, 0, 1);
  p.sortOrder = std::clamp(p.sortOrder, 0, 2);
  p.selectedItem = std::max(p.selectedItem, -1);
  *this = std::move(p);
  return true;
}

std::vector<uint8_t> ListViewProperties::Write() const {
  rt::ByteAppender w;
  w.i32(kBlobVersion);
  w.i32(border);
  w.u32(textColor);
  w.u32(textBackColor);
  w.u32(backColor);
  w.i32(viewType);
  w.i32(alignment);
  for (bool b : {autoArrange, wrapLabels, hideColumnHeader, sortableHeader, fullRowSelect, gridLines, dragColumns,
                 hotTracking, handCursor, underlineHot, underlineCold, editLabels})
    w.i32(b ? 1 : 0);
  w.i32(sortOrder);
  for (bool b : {checkBoxes, flatScrollBars, singleSelection}) w.i32(b ? 1 : 0);
  w.i32(selectedItem);
  w.i32(alwaysShowSelection ? 1 : 0);
  for (const auto* v : {&font, &headerImages, &images, &columns, &stateImages, &items}) w.counted(*v);
  return w.take();
}

bool ParseColumnTable(const std::vector<uint8_t>& bytes, std::vector<ListColumn>* columns) {
  columns->clear();
  rt::ByteReader r(bytes.data(), bytes.size());
  while (r.ok() && r.remaining() > 0) {
    ListColumn c;
    c.bitmapOnRight = r.u8() != 0;
    c.image = r.i32();
    c.alignment = r.i32();
    c.width = r.i32();
    c.caption = r.zeroText();
    if (r.ok()) columns->push_back(std::move(c));
  }
  return r.ok();
}

bool ParseItemTable(const std::vector<uint8_t>& bytes, std::vector<ListItemRecord>* items) {
  items->clear();
  rt::ByteReader r(bytes.data(), bytes.size());
  while (r.ok() && r.remaining() > 0) {
    ListItemRecord item;
    item.furtherColumn = r.u8() != 0;
    item.image = r.i32();
    item.stateImage = r.i32();
    item.indent = r.i32();
    item.data = r.i32();
    item.text = r.zeroText();
    item.tip = r.zeroText();
    if (r.ok()) items->push_back(std::move(item));
  }
  return r.ok();
}

std::vector<uint8_t> WriteColumnTable(const std::vector<ListColumn>& columns) {
  rt::ByteAppender w;
  for (const ListColumn& c : columns) {
    w.u8(c.bitmapOnRight ? 1 : 0);
    w.i32(c.image);
    w.i32(c.alignment);
    w.i32(c.width);
    w.zeroText(c.caption);
  }
  return w.take();
}

std::vector<uint8_t> WriteItemTable(const std::vector<ListItemRecord>& items) {
  rt::ByteAppender w;
  for (const ListItemRecord& i : items) {
    w.u8(i.furtherColumn ? 1 : 0);
    w.i32(i.image);
    w.i32(i.stateImage);
    w.i32(i.indent);
    w.i32(i.data);
    w.zeroText(i.text);
    w.zeroText(i.tip);
  }
  return w.take();
}

DWORD ListViewStyle(const ListViewProperties& p) {
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

DWORD ListViewExtendedStyle(const ListViewProperties& p) {
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

bool ListViewNeedsRecreate(const ListViewProperties& p, int32_t index) {
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
