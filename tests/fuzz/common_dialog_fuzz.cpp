// Fuzz target "common_dialog": the CommonDlg's property blob, and the system filter
// list made from a Filter text (the whole input serves as one too).  What reads writes
// back into a blob that reads again and writes the same bytes; the filter list keeps
// every byte of the text but its bars, which become NULs, and ends in two NULs.
#include <string>
#include <vector>

#include "formats/records/common_dialog_data.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

using fuzz::Require;

void FilterList(const std::string& filter) {
  const std::string list = comp::BuildDialogFilter(filter);
  std::string text = filter;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
    text.pop_back();
  if (text.empty()) {
    Require(list.empty(), "no filter list for a blank filter");
    return;
  }
  Require(list.size() == text.size() || list.size() == text.size() + 2, "filter list length");
  Require(list[list.size() - 1] == '\0' && list[list.size() - 2] == '\0', "filter list ends in two NULs");
  for (size_t i = 0; i < text.size(); ++i)
    Require(list[i] == text[i] || (list[i] == '\0' && text[i] == '|'), "filter list keeps the text");
}

}  // namespace

void fuzz::WriteSeeds(const std::string& folder) {
  comp::CommonDialogData dialog;
  WriteSeed(folder, "default", dialog.Write());
  dialog.title = "打开资源文件";
  dialog.filter = "所有文件(*.*)|*.*";
  dialog.filterIndex = 1;
  dialog.dialogType = 2;
  dialog.fontName = "宋体";
  dialog.helpCommand = 5;
  WriteSeed(folder, "open", dialog.Write());
  const std::string filter = "图标(*.ico)|*.ico|所有文件(*.*)|*.*||";
  WriteSeed(folder, "filter", std::vector<uint8_t>(filter.begin(), filter.end()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::BlobRoundTrip<comp::CommonDialogData>(data, size, "common dialog blob writes back");
  comp::CommonDialogData dialog;
  if (dialog.Read(data, size)) FilterList(dialog.filter);
  FilterList(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
