#include "formats/records/list_view_data.h"

#include <algorithm>

#include "formats/records/blob_fields.h"

namespace comp {

template <class Record, class Fields>
void ListViewData::Visit(Record& d, Fields& f) {
  f.i32(d.border);
  f.u32(d.textColor, d.textBackColor, d.backColor);
  f.i32(d.viewType, d.alignment);
  f.flag(d.autoArrange, d.wrapLabels, d.hideColumnHeader, d.sortableHeader, d.fullRowSelect, d.gridLines,
         d.dragColumns, d.hotTracking, d.handCursor, d.underlineHot, d.underlineCold, d.editLabels);
  f.i32(d.sortOrder);
  f.flag(d.checkBoxes, d.flatScrollBars, d.singleSelection);
  f.i32(d.selectedItem);
  f.flag(d.alwaysShowSelection);
  f.counted(d.font, d.headerImages, d.images, d.columns, d.stateImages, d.items);
}

// Stored values keep the ranges that the property handler enforces.
void ListViewData::Normalise() {
  border = std::clamp(border, 0, 5);
  viewType = std::clamp(viewType, 0, 3);
  alignment = std::clamp(alignment, 0, 1);
  sortOrder = std::clamp(sortOrder, 0, 2);
  selectedItem = std::max(selectedItem, -1);
}

template struct VersionedBlob<ListViewData>;

template <class Record, class Fields>
void ListColumn::Visit(Record& c, Fields& f) {
  f.byteFlag(c.bitmapOnRight);
  f.i32(c.image, c.alignment, c.width);
  f.zeroText(c.caption);
}

template <class Record, class Fields>
void ListItemRecord::Visit(Record& i, Fields& f) {
  f.byteFlag(i.furtherColumn);
  f.i32(i.image, i.stateImage, i.indent, i.data);
  f.zeroText(i.text, i.tip);
}

bool ParseColumnTable(const std::vector<uint8_t>& bytes, std::vector<ListColumn>* columns) {
  return ReadRecordTable(bytes, columns);
}

bool ParseItemTable(const std::vector<uint8_t>& bytes, std::vector<ListItemRecord>* items) {
  return ReadRecordTable(bytes, items);
}

std::vector<uint8_t> WriteColumnTable(const std::vector<ListColumn>& columns) { return WriteRecordTable(columns); }

std::vector<uint8_t> WriteItemTable(const std::vector<ListItemRecord>& items) { return WriteRecordTable(items); }

}  // namespace comp
