#include "components/list_view_data.h"

#include <algorithm>

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

}  // namespace comp
