#include "components/common_dialog_data.h"

#include <algorithm>

#include "runtime/byte_reader.h"

namespace comp {
namespace {

constexpr int32_t kBlobVersion = 1;

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

bool CommonDlgProperties::Read(const uint8_t* blob, size_t size) {
  *this = CommonDlgProperties();
  rt::ByteReader r(blob, size);
  const int32_t version = r.i32();
  if (!r.ok() || version > kBlobVersion) return false;
  CommonDlgProperties p;
  p.dialogType = r.i32();
  p.filterIndex = r.i32();
  p.createPrompt = r.i32() != 0;
  p.fileMustExist = r.i32() != 0;
  p.overwritePrompt = r.i32() != 0;
  p.pathMustExist = r.i32() != 0;
  p.keepCurrentFolder = r.i32() != 0;
  p.color = r.u32();
  p.fontBold = r.i32() != 0;
  p.fontItalic = r.i32() != 0;
  p.fontStrikeOut = r.i32() != 0;
  p.fontUnderline = r.i32() != 0;
  p.fontSize = r.i32();
  p.helpCommand = r.i32();
  p.helpTopic = r.i32();
  p.title = r.countedText();
  p.fileName = r.countedText();
  p.filter = r.countedText();
  p.initialFolder = r.countedText();
  p.defaultExtension = r.countedText();
  p.fontName = r.countedText();
  p.helpFile = r.countedText();
  if (!r.ok()) return false;
  p.Clamp();
  *this = std::move(p);
  return true;
}

std::vector<uint8_t> CommonDlgProperties::Write() const {
  rt::ByteAppender w;
  w.i32(kBlobVersion);
  w.i32(dialogType);
  w.i32(filterIndex);
  for (bool b : {createPrompt, fileMustExist, overwritePrompt, pathMustExist, keepCurrentFolder}) w.i32(b);
  w.u32(color);
  for (bool b : {fontBold, fontItalic, fontStrikeOut, fontUnderline}) w.i32(b);
  w.i32(fontSize);
  w.i32(helpCommand);
  w.i32(helpTopic);
  for (const std::string* s : {&title, &fileName, &filter, &initialFolder, &defaultExtension, &fontName, &helpFile})
    w.countedText(*s);
  return w.take();
}

void CommonDlgProperties::Clamp() {
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
