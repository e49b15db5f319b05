// The ListView's stored data without a window: its property blob and the column and
// item tables it starts with.  Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/blob_fields.h"
#include "formats/records/property_values.h"

namespace comp {

struct ListViewData : VersionedBlob<ListViewData> {
  // Stored versions: up to 1; every older one holds the same fields.
  static constexpr int32_t kOldestVersion = kAnyOlderVersion;
  static constexpr int32_t kBlobVersion = 1;

  int32_t border = 1;
  uint32_t textColor = 0, textBackColor = 0xFFFFFF, backColor = 0xFFFFFF;
  int32_t viewType = 0, alignment = 0;
  bool autoArrange = true, wrapLabels = true;
  // The report view's header and grid lines.
  bool hideColumnHeader = false, sortableHeader = true, fullRowSelect = false, gridLines = false;
  bool dragColumns = false;
  bool hotTracking = false, handCursor = true, underlineHot = true, underlineCold = true;
  bool editLabels = false;
  int32_t sortOrder = 0;
  bool checkBoxes = false, flatScrollBars = false, singleSelection = true;
  int32_t selectedItem = -1;
  bool alwaysShowSelection = false;
  std::vector<uint8_t> font;  // 60-byte LOGFONTA, or empty for the default GUI font
  std::vector<uint8_t> headerImages, images, stateImages;  // image-list data
  std::vector<uint8_t> columns, items;  // the column and item tables below
  std::string editedText;  // not serialised

  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
  // Brings the choices into their ranges and SelectedItem to -1 or above.
  void Normalise();
  bool IconView() const { return viewType == 0 || viewType == 1; }
  bool ReportView() const { return viewType == 3; }
};
extern template struct VersionedBlob<ListViewData>;

struct ListColumn {
  bool bitmapOnRight = false;
  int32_t image = -1;
  int32_t alignment = 0;  // 0 left, 1 centre, 2 right
  int32_t width = 0;
  std::string caption;
  // The stored fields in table order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
struct ListItemRecord {
  bool furtherColumn = false;  // a further column of the last new item
  int32_t image = -1;
  int32_t stateImage = -1;
  int32_t indent = 0;
  int32_t data = 0;
  std::string text;
  std::string tip;
  // The stored fields in table order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
// Parse the column and item tables; false when a record is cut off.
bool ParseColumnTable(const std::vector<uint8_t>& bytes, std::vector<ListColumn>* columns);
bool ParseItemTable(const std::vector<uint8_t>& bytes, std::vector<ListItemRecord>* items);
std::vector<uint8_t> WriteColumnTable(const std::vector<ListColumn>& columns);
std::vector<uint8_t> WriteItemTable(const std::vector<ListItemRecord>& items);

}  // namespace comp
