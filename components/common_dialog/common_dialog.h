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

// The open-file dialog flags of the properties.
DWORD FileDialogFlags(const CommonDialogData& p);

class CommonDialog : public StoredComponent<CommonDialogData> {
 public:
  static CommonDialog* Create(const CreateArgs& args);
  static void VisitStoredTexts(CommonDialogData& data, rt::TextVisitorFn visitor, void* userData);

  // The dialog's own properties (components/property_list.h).
#define COMP_COMMON_DIALOG_PROPERTIES(X, C)                                                                   \
  X(DialogType, rt::KindChoice, dialogType) X(Title, rt::KindText, title) X(FileName, rt::KindText, fileName) \
  X(Filter, rt::KindText, filter) X(FilterIndex, rt::KindInteger, filterIndex)                                \
  X(InitialFolder, rt::KindText, initialFolder) X(DefaultExtension, rt::KindText, defaultExtension)           \
  X(CreatePrompt, rt::KindLogical, createPrompt) X(FileMustExist, rt::KindLogical, fileMustExist)             \
  X(OverwritePrompt, rt::KindLogical, overwritePrompt) X(PathMustExist, rt::KindLogical, pathMustExist)       \
  X(KeepCurrentFolder, rt::KindLogical, keepCurrentFolder)                                                    \
  X(Color, rt::KindTextColor, color)                                                                          \
  X(FontBold, rt::KindLogical, fontBold) X(FontItalic, rt::KindLogical, fontItalic)                           \
  X(FontStrikeOut, rt::KindLogical, fontStrikeOut) X(FontUnderline, rt::KindLogical, fontUnderline)           \
  X(FontName, rt::KindText, fontName) X(FontSize, rt::KindInteger, fontSize)                                  \
  X(HelpFile, rt::KindText, helpFile) X(HelpCommand, rt::KindChoice, helpCommand)                             \
  X(HelpTopic, rt::KindInteger, helpTopic)
  COMP_PROPERTIES(CommonDialogData, kOwnPropertyFlags, COMP_COMMON_DIALOG_PROPERTIES);
#undef COMP_COMMON_DIALOG_PROPERTIES

  int32_t PropertyChanged(int32_t index, const rt::PropertyData& data);
  bool GetProperty(int32_t index, rt::PropertyData* data) const;

  // Runs the dialog of DialogType; true when the user confirmed.
  bool Run();

 private:
  CommonDialog(uint32_t windowId, uint32_t componentId);
  bool RunFileDialog(bool save);
  bool RunFontDialog();
  bool RunHelp();
};

extern const rt::ComponentTypeInfo kCommonDlgType;
// The kernel library's link, which its LibraryNotify fills (code 1) for CommonDlg.
rt::LibraryLink& CommonDlgLink();

// Kernel command Open: argument 1 is the CommonDlg's ComponentRef; logical result.
void __cdecl OpenCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace comp
