// Fuzz target "edit_box": the EditBox's property blob.  What reads is in range and
// writes back into a blob that reads again and writes the same bytes.
#include <string>
#include <vector>

#include "formats/records/edit_box_data.h"
#include "tests/fuzz/fuzz_target.h"

void fuzz::WriteSeeds(const std::string& folder) {
  comp::EditBoxData edit;
  edit.content = "C:\\WINDOWS\\system32\\shell32.dll";
  edit.multiLine = 1;
  edit.scrollBars = 3;
  edit.inputMode = 2;
  edit.spinType = 1;
  edit.selStart = -1;
  edit.font.assign(60, 3);
  edit.dataField = "field";
  fuzz::WriteDataBoundSeeds(folder, edit);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::RoundTripInRange<comp::EditBoxData>(data, size, "edit box blob writes back", "an edit box reads in range");
  return 0;
}
