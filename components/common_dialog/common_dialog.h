// The CommonDlg component: an invisible child window whose properties hold the
// settings and the outcome of the system's open-file, save-file and font dialogs and
// of the help actions, and the kernel command Open that runs it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/records/common_dialog_data.h"
#include "components/component.h"
#include "components/component_type.h"
#include "runtime/library_link.h"
#include "runtime/program_image.h"
#include "runtime/values.h"

namespace comp {

// Property indexes as the type's handler sees them (property 8 is 0).
enum CommonDlgProperty : int32_t {
  CdDialogType, CdTitle, CdFileName, CdFilter, CdFilterIndex, CdInitialFolder, CdDefaultExtension,
  CdCreatePrompt, CdFileMustExist, CdOverwritePrompt, CdPathMustExist, CdKeepCurrentFolder, CdColor,
  CdFontBold, CdFontItalic, CdFontStrikeOut, CdFontUnderline, CdFontName, CdFontSize, CdHelpFile,
  CdHelpCommand, CdHelpTopic,
  CdPropertyCount  // 22 own properties, 30 with the common ones
};

// The open-file dialog flags of the properties.
DWORD FileDialogFlags(const CommonDialogData& p);

class CommonDialog : public Component {
 public:
  using StoredData = CommonDialogData;
  static CommonDialog* Create(const CreateArgs& args);
  static void VisitStoredTexts(CommonDialogData& data, rt::TextVisitorFn visitor, void* userData);

  int32_t PropertyChanged(int32_t index, const rt::PropertyData& data);
  bool GetProperty(int32_t index, rt::PropertyData* data) const;
  std::vector<uint8_t> WriteProperties() const;
  const CommonDialogData& properties() const { return props_; }

  // Runs the dialog of DialogType; true when the user confirmed.
  bool Run();

 private:
  CommonDialog(uint32_t windowId, uint32_t componentId);
  bool RunFileDialog(bool save);
  bool RunFontDialog();
  bool RunHelp();

  CommonDialogData props_;
};

extern const rt::ComponentTypeInfo kCommonDlgType;
// The kernel library's link, which its LibraryNotify fills (code 1) for CommonDlg.
rt::LibraryLink& CommonDlgLink();

// Kernel command Open: argument 1 is the CommonDlg's ComponentRef; logical result.
void __cdecl OpenCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace comp
