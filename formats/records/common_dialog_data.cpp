#include "formats/records/common_dialog_data.h"

#include <algorithm>

#include "formats/records/blob_fields.h"

namespace comp {
namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

template <class Record, class Fields>
void CommonDialogData::Visit(Record& d, Fields& f) {
  f.i32(d.dialogType, d.filterIndex);
  f.flag(d.createPrompt, d.fileMustExist, d.overwritePrompt, d.pathMustExist, d.keepCurrentFolder);
  f.u32(d.color);
  f.flag(d.fontBold, d.fontItalic, d.fontStrikeOut, d.fontUnderline);
  f.i32(d.fontSize, d.helpCommand, d.helpTopic);
  f.countedText(d.title, d.fileName, d.filter, d.initialFolder, d.defaultExtension, d.fontName, d.helpFile);
}

template struct VersionedBlob<CommonDialogData>;

void CommonDialogData::Normalise() {
  dialogType = std::clamp(dialogType, 0, 3);
  helpCommand = std::clamp(helpCommand, 0, 5);
  filterIndex = std::max(filterIndex, 0);
  fontSize = std::max(fontSize, 0);
}

std::string BuildDialogFilter(const std::string& filter) {
  std::string s = filter;
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) s.pop_back();
  if (s.empty()) return {};
  // Positions of "|" characters, stepping over two-byte characters as units.
  std::vector<size_t> bars;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (s[i] == '|') bars.push_back(i);
  }
  const size_t n = s.size();
  const bool endsInTwoBars = bars.size() >= 2 && bars.back() == n - 1 && bars[bars.size() - 2] == n - 2;
  if (!endsInTwoBars) {
    bars.push_back(n);
    bars.push_back(n + 1);
    s += "||";
  }
  for (size_t at : bars) s[at] = '\0';
  return s;
}

}  // namespace comp
