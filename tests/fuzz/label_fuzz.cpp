// Fuzz target "label": the Label's property blob.  What reads is in range and writes
// back into a blob that reads again and writes the same bytes.
#include <string>
#include <vector>

#include "formats/records/label_data.h"
#include "tests/fuzz/fuzz_target.h"

void fuzz::WriteSeeds(const std::string& folder) {
  comp::LabelData label;
  label.caption = "查找完成，图标总数： 12";
  label.border = 6;
  label.gradientBackMode = 3;
  label.font.assign(60, 1);
  label.picture = {'B', 'M', 0, 0};
  label.dataSource = "source";
  fuzz::WriteDataBoundSeeds(folder, label);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::RoundTripInRange<comp::LabelData>(data, size, "label blob writes back", "a label reads in range");
  return 0;
}
