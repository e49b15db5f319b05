#include "formats/records/drop_target_data.h"

#include "formats/records/blob_fields.h"

namespace comp {

template <class Record, class Fields>
void DropTargetData::Visit(Record& d, Fields& f) {
  f.flag(d.acceptText, d.acceptHtml, d.acceptUrl, d.acceptFiles);
}

template struct VersionedBlob<DropTargetData>;

}  // namespace comp
