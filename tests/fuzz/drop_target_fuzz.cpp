// Fuzz target "drop_target": the DropTarget's property blob.  What reads writes back
// into a blob that reads again and writes the same bytes.
#include <string>
#include <vector>

#include "formats/records/drop_target_data.h"
#include "tests/fuzz/fuzz_target.h"

void fuzz::WriteSeeds(const std::string& folder) {
  comp::DropTargetData accept;
  WriteSeed(folder, "default", accept.Write());
  accept.acceptFiles = true;
  accept.acceptHtml = true;
  WriteSeed(folder, "files-html", accept.Write());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::BlobRoundTrip<comp::DropTargetData>(data, size, "drop target blob writes back");
  return 0;
}
