// Fuzz target "button": the Button's property blob.  What reads writes back into a blob
// that reads again and writes the same bytes.
#include <string>
#include <vector>

#include "formats/records/button_data.h"
#include "tests/fuzz/fuzz_target.h"

void fuzz::WriteSeeds(const std::string& folder) {
  comp::ButtonData button;
  WriteSeed(folder, "default", button.Write());
  button.caption = "载入";
  button.buttonType = 1;
  button.picture = {0, 0, 1, 0, 1, 0};
  button.font.assign(60, 2);
  WriteSeed(folder, "full", button.Write());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::BlobRoundTrip<comp::ButtonData>(data, size, "button blob writes back");
  return 0;
}
