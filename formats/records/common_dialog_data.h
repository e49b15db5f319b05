// The CommonDlg's stored data without a window: its properties, their PropertyBlob,
// and the system filter list made from its Filter text.  Plain functions over bytes;
// no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/blob_fields.h"

namespace comp {

enum DialogType : int32_t { DialogOpen = 0, DialogSave = 1, DialogFont = 2, DialogHelp = 3 };

struct CommonDialogData : VersionedBlob<CommonDialogData> {
  // Stored versions: up to 1; every older one holds the same fields.
  static constexpr int32_t kOldestVersion = kAnyOlderVersion;
  static constexpr int32_t kBlobVersion = 1;

  int32_t dialogType = DialogOpen;
  std::string title, fileName, filter;
  int32_t filterIndex = 0;
  std::string initialFolder, defaultExtension;
  bool createPrompt = false, fileMustExist = true, overwritePrompt = true, pathMustExist = true;
  bool keepCurrentFolder = false;
  uint32_t color = 0;
  bool fontBold = false, fontItalic = false, fontStrikeOut = false, fontUnderline = false;
  std::string fontName;
  int32_t fontSize = 0;
  std::string helpFile;
  int32_t helpCommand = 0;
  int32_t helpTopic = 0;

  // The stored fields in blob order, for reading and writing alike (formats/records/blob_fields.h).
  template <class Record, class Fields>
  static void Visit(Record& d, Fields& f);
  // Keeps DialogType and HelpCommand in range and FilterIndex and FontSize non-negative.
  void Normalise();
};
extern template struct VersionedBlob<CommonDialogData>;

// The system's filter list from "description|pattern|...": trailing white space
// removed, "||" appended unless present, then every "|" (a character, never the
// second byte of a two-byte character) replaced by NUL.  Empty for an empty filter.
std::string BuildDialogFilter(const std::string& filter);

}  // namespace comp
