// The DropTarget's stored data without a window: its four accept flags and their
// PropertyBlob.  Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/records/blob_fields.h"

namespace comp {

struct DropTargetData : VersionedBlob<DropTargetData> {
  // Stored versions: up to 1; every older one holds the same fields.
  static constexpr int32_t kOldestVersion = kAnyOlderVersion;
  static constexpr int32_t kBlobVersion = 1;

  bool acceptText = false;
  bool acceptHtml = false;
  bool acceptUrl = false;
  bool acceptFiles = false;
  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
};
extern template struct VersionedBlob<DropTargetData>;

}  // namespace comp
