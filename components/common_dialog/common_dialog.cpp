#include "components/common_dialog/common_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "components/property_data.h"
#include "components/window/window_component.h"

namespace comp {
namespace {

constexpr const char* kWindowClass = "CommonDlgWindow";

std::string ProgramHelpFile() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string file(path, n);
  const size_t slash = file.find_last_of('\\');
  const size_t dot = file.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.resize(dot);
  return file + ".hlp";
}

}  // namespace

DWORD FileDialogFlags(const CommonDialogData& p) {
  DWORD flags = OFN_HIDEREADONLY;
  if (p.createPrompt) flags |= OFN_CREATEPROMPT;
  if (p.fileMustExist) flags |= OFN_FILEMUSTEXIST;
  if (p.overwritePrompt) flags |= OFN_OVERWRITEPROMPT;
  if (p.pathMustExist) flags |= OFN_PATHMUSTEXIST;
  if (p.keepCurrentFolder) flags |= OFN_NOCHANGEDIR;
  return flags;
}

CommonDialog::CommonDialog(uint32_t windowId, uint32_t componentId)
    : Component(CommonDlgLink(), windowId, componentId) {}

CommonDialog* CommonDialog::Create(const CreateArgs& a) {
  CommonDialogData props;
  if (a.blob && a.blobSize > 0 && !props.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  if (!RegisterObjectClass(kWindowClass, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr)) return nullptr;
  std::unique_ptr<CommonDialog> dialog(new CommonDialog(a.windowId, a.componentId));
  dialog->props_ = std::move(props);
  const DWORD fullStyle = a.style | WS_CHILD | WS_CLIPSIBLINGS | (a.designMode ? WS_BORDER : 0);
  if (!dialog->CreateObjectWindow(0, kWindowClass, "", fullStyle, a.left, a.top, a.width, a.height, a.parent,
                                  a.ChildId()))
    return nullptr;
  return dialog.release();
}

int32_t CommonDialog::PropertyChanged(int32_t index, const rt::PropertyData& data) {
  const int32_t v = static_cast<int32_t>(data.value);
  const bool flag = data.value != 0;
  CommonDialogData& p = props_;
  switch (index) {
    case CdDialogType: p.dialogType = v; break;
    case CdTitle: p.title = TextOfData(data); break;
    case CdFileName: p.fileName = TextOfData(data); break;
    case CdFilter: p.filter = TextOfData(data); break;
    case CdFilterIndex: p.filterIndex = v; break;
    case CdInitialFolder: p.initialFolder = TextOfData(data); break;
    case CdDefaultExtension: p.defaultExtension = TextOfData(data); break;
    case CdCreatePrompt: p.createPrompt = flag; break;
    case CdFileMustExist: p.fileMustExist = flag; break;
    case CdOverwritePrompt: p.overwritePrompt = flag; break;
    case CdPathMustExist: p.pathMustExist = flag; break;
    case CdKeepCurrentFolder: p.keepCurrentFolder = flag; break;
    case CdColor: p.color = data.value; break;
    case CdFontBold: p.fontBold = flag; break;
    case CdFontItalic: p.fontItalic = flag; break;
    case CdFontStrikeOut: p.fontStrikeOut = flag; break;
    case CdFontUnderline: p.fontUnderline = flag; break;
    case CdFontName: p.fontName = TextOfData(data); break;
    case CdFontSize: p.fontSize = v; break;
    case CdHelpFile: p.helpFile = TextOfData(data); break;
    case CdHelpCommand: p.helpCommand = v; break;
    case CdHelpTopic: p.helpTopic = v; break;
    default: break;
  }
  p.Normalise();
  return 0;
}

bool CommonDialog::GetProperty(int32_t index, rt::PropertyData* data) const {
  const CommonDialogData& p = props_;
  const auto text = [data](const std::string& s) { PutText(data, s); };
  const auto set = [data](int32_t v) { PutInt(data, v); };
  switch (index) {
    case CdDialogType: set(p.dialogType); break;
    case CdTitle: text(p.title); break;
    case CdFileName: text(p.fileName); break;
    case CdFilter: text(p.filter); break;
    case CdFilterIndex: set(p.filterIndex); break;
    case CdInitialFolder: text(p.initialFolder); break;
    case CdDefaultExtension: text(p.defaultExtension); break;
    case CdCreatePrompt: set(p.createPrompt); break;
    case CdFileMustExist: set(p.fileMustExist); break;
    case CdOverwritePrompt: set(p.overwritePrompt); break;
    case CdPathMustExist: set(p.pathMustExist); break;
    case CdKeepCurrentFolder: set(p.keepCurrentFolder); break;
    case CdColor: set(static_cast<int32_t>(p.color)); break;
    case CdFontBold: set(p.fontBold); break;
    case CdFontItalic: set(p.fontItalic); break;
    case CdFontStrikeOut: set(p.fontStrikeOut); break;
    case CdFontUnderline: set(p.fontUnderline); break;
    case CdFontName: text(p.fontName); break;
    case CdFontSize: set(p.fontSize); break;
    case CdHelpFile: text(p.helpFile); break;
    case CdHelpCommand: set(p.helpCommand); break;
    case CdHelpTopic: set(p.helpTopic); break;
    default: PutInt(data, 0); return false;
  }
  return true;
}

std::vector<uint8_t> CommonDialog::WriteProperties() const { return props_.Write(); }

bool CommonDialog::Run() {
  switch (props_.dialogType) {
    case DialogOpen: return RunFileDialog(false);
    case DialogSave: return RunFileDialog(true);
    case DialogFont: return RunFontDialog();
    default: return RunHelp();
  }
}

bool CommonDialog::RunFileDialog(bool save) {
  const std::string filter = BuildDialogFilter(props_.filter);
  // Room for a long path; the initial name is cut to fit.
  std::vector<char> file(std::max<size_t>(32768, props_.fileName.size() + 1), '\0');
  std::memcpy(file.data(), props_.fileName.data(), props_.fileName.size());
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = filter.empty() ? 0 : static_cast<DWORD>(std::max(props_.filterIndex, 0) + 1);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = props_.initialFolder.empty() ? nullptr : props_.initialFolder.c_str();
  ofn.lpstrTitle = props_.title.empty() ? nullptr : props_.title.c_str();
  ofn.lpstrDefExt = props_.defaultExtension.empty() ? nullptr : props_.defaultExtension.c_str();
  ofn.Flags = FileDialogFlags(props_);
  const BOOL confirmed = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!confirmed) return false;
  file.back() = '\0';
  props_.fileName = file.data();
  return true;
}

bool CommonDialog::RunFontDialog() {
  LOGFONTA lf = {};
  if (props_.fontBold) lf.lfWeight = FW_BOLD;
  lf.lfItalic = props_.fontItalic;
  lf.lfStrikeOut = props_.fontStrikeOut;
  lf.lfUnderline = props_.fontUnderline;
  lstrcpynA(lf.lfFaceName, props_.fontName.c_str(), LF_FACESIZE);
  const int dpi = [] {
    rt::WindowDC screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  }();
  if (props_.fontSize != 0) lf.lfHeight = -MulDiv(props_.fontSize, dpi, 72);
  CHOOSEFONTA cf = {};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = GetActiveWindow();
  cf.lpLogFont = &lf;
  // The properties are the dialog's starting values as well as its result.
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = props_.color;
  if (!ChooseFontA(&cf)) return false;
  props_.color = cf.rgbColors;
  props_.fontBold = lf.lfWeight >= FW_BOLD;
  props_.fontItalic = lf.lfItalic != 0;
  props_.fontStrikeOut = lf.lfStrikeOut != 0;
  props_.fontUnderline = lf.lfUnderline != 0;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  props_.fontName = lf.lfFaceName;
  props_.fontSize = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, dpi);
  return true;
}

bool CommonDialog::RunHelp() {
  HWND window = GetParent(hwnd());
  if (!window || !IsWindow(window)) return false;
  // The holding window closes the help it opened when it is destroyed.
  auto* form = dynamic_cast<WindowComponent*>(rt::WindowObject::Query(window));
  const auto markHelp = [form](bool shown) {
    if (form) form->SetHelpShown(shown);
  };
  if (props_.helpCommand == 4) {
    markHelp(true);
    WinHelpA(window, nullptr, HELP_HELPONHELP, 0);
    return true;
  }
  if (props_.helpCommand == 5) {
    markHelp(false);
    WinHelpA(window, nullptr, HELP_QUIT, 0);
    return true;
  }
  const std::string file = props_.helpFile.empty() ? ProgramHelpFile() : props_.helpFile;
  if (file.empty() || GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  UINT command = HELP_FINDER;
  ULONG_PTR data = 0;
  if (props_.helpCommand == 3) command = HELP_FORCEFILE;
  if ((props_.helpCommand == 1 || props_.helpCommand == 2) && props_.helpTopic != 0) {
    command = props_.helpCommand == 1 ? HELP_CONTEXT : HELP_CONTEXTPOPUP;
    data = static_cast<ULONG_PTR>(props_.helpTopic);
  }
  markHelp(true);
  WinHelpA(window, file.c_str(), command, data);
  return true;
}

namespace {

constexpr auto kCommonDlgProperties = PropertyTable(
    rt::KindChoice,                     // DialogType
    rt::KindText, rt::KindText,         // Title, FileName
    rt::KindText, rt::KindInteger,      // Filter, FilterIndex
    rt::KindText, rt::KindText,         // InitialFolder, DefaultExtension
    rt::KindLogical, rt::KindLogical,   // CreatePrompt, FileMustExist
    rt::KindLogical, rt::KindLogical,   // OverwritePrompt, PathMustExist
    rt::KindLogical,                    // KeepCurrentFolder
    rt::KindTextColor,                  // Color
    rt::KindLogical, rt::KindLogical,   // FontBold, FontItalic
    rt::KindLogical, rt::KindLogical,   // FontStrikeOut, FontUnderline
    rt::KindText, rt::KindInteger,      // FontName, FontSize
    rt::KindText, rt::KindChoice,       // HelpFile, HelpCommand
    rt::KindInteger);                   // HelpTopic
static_assert(kCommonDlgProperties.size() == 8 + CdPropertyCount, "CommonDlg property table");

}  // namespace

const rt::ComponentTypeInfo kCommonDlgType =
    TypeEntry("通用对话框", "CommonDlg", kTypeLibraryBit | rt::TypeHiddenAtRunTime | rt::TypeIsControl,
              kCommonDlgProperties, &ComponentSlots<CommonDialog>::GetInterface);

void CommonDialog::VisitStoredTexts(CommonDialogData& d, rt::TextVisitorFn visitor, void* userData) {
  VisitTexts(visitor, userData, nullptr,
             {{&d.title, 0}, {&d.fileName, 0}, {&d.filter, 0}, {&d.initialFolder, 0}, {&d.defaultExtension, 0},
              {&d.fontName, 1}, {&d.helpFile, 0}});
}

rt::LibraryLink& CommonDlgLink() {
  static rt::LibraryLink link;
  return link;
}

void __cdecl OpenCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  result->value = 0;
  result->tag = rt::TagBool;
  if (argc < 1) return;
  CommonDialog* dialog = CommandComponent<CommonDialog>(CommonDlgLink(), args[0]);
  if (!dialog) return;
  try {
    result->value = dialog->Run() ? 1 : 0;
  } catch (...) {
    result->value = 0;
  }
}

}  // namespace comp
