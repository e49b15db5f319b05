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
    : StoredComponent(CommonDlgLink(), windowId, componentId) {}

CommonDialog* CommonDialog::Create(const CreateArgs& a) {
  CommonDialogData props;
  if (a.blob && a.blobSize > 0 && !props.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  if (!RegisterObjectClass(kWindowClass, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr)) return nullptr;
  std::unique_ptr<CommonDialog> dialog(new CommonDialog(a.windowId, a.componentId));
  dialog->data_ = std::move(props);
  const DWORD fullStyle = a.style | WS_CHILD | WS_CLIPSIBLINGS | (a.designMode ? WS_BORDER : 0);
  if (!dialog->CreateObjectWindow(0, kWindowClass, "", fullStyle, a.left, a.top, a.width, a.height, a.parent,
                                  a.ChildId()))
    return nullptr;
  return dialog.release();
}

int32_t CommonDialog::PropertyChanged(int32_t index, const rt::PropertyData& data) {
  const int32_t v = static_cast<int32_t>(data.value);
  const bool flag = data.value != 0;
  CommonDialogData& p = data_;
  switch (index) {
    case PDialogType: p.dialogType = v; break;
    case PTitle: p.title = TextOfData(data); break;
    case PFileName: p.fileName = TextOfData(data); break;
    case PFilter: p.filter = TextOfData(data); break;
    case PFilterIndex: p.filterIndex = v; break;
    case PInitialFolder: p.initialFolder = TextOfData(data); break;
    case PDefaultExtension: p.defaultExtension = TextOfData(data); break;
    case PCreatePrompt: p.createPrompt = flag; break;
    case PFileMustExist: p.fileMustExist = flag; break;
    case POverwritePrompt: p.overwritePrompt = flag; break;
    case PPathMustExist: p.pathMustExist = flag; break;
    case PKeepCurrentFolder: p.keepCurrentFolder = flag; break;
    case PColor: p.color = data.value; break;
    case PFontBold: p.fontBold = flag; break;
    case PFontItalic: p.fontItalic = flag; break;
    case PFontStrikeOut: p.fontStrikeOut = flag; break;
    case PFontUnderline: p.fontUnderline = flag; break;
    case PFontName: p.fontName = TextOfData(data); break;
    case PFontSize: p.fontSize = v; break;
    case PHelpFile: p.helpFile = TextOfData(data); break;
    case PHelpCommand: p.helpCommand = v; break;
    case PHelpTopic: p.helpTopic = v; break;
    default: break;
  }
  p.Normalise();
  return 0;
}

bool CommonDialog::GetProperty(int32_t index, rt::PropertyData* data) const {
  PutInt(data, 0);
  return PutStoredField(data_, kProperties, index, data);
}

bool CommonDialog::Run() {
  switch (data_.dialogType) {
    case DialogOpen: return RunFileDialog(false);
    case DialogSave: return RunFileDialog(true);
    case DialogFont: return RunFontDialog();
    default: return RunHelp();
  }
}

bool CommonDialog::RunFileDialog(bool save) {
  const std::string filter = BuildDialogFilter(data_.filter);
  // Room for a long path; the initial name is cut to fit.
  std::vector<char> file(std::max<size_t>(32768, data_.fileName.size() + 1), '\0');
  std::memcpy(file.data(), data_.fileName.data(), data_.fileName.size());
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = filter.empty() ? 0 : static_cast<DWORD>(std::max(data_.filterIndex, 0) + 1);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = data_.initialFolder.empty() ? nullptr : data_.initialFolder.c_str();
  ofn.lpstrTitle = data_.title.empty() ? nullptr : data_.title.c_str();
  ofn.lpstrDefExt = data_.defaultExtension.empty() ? nullptr : data_.defaultExtension.c_str();
  ofn.Flags = FileDialogFlags(data_);
  const BOOL confirmed = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!confirmed) return false;
  file.back() = '\0';
  data_.fileName = file.data();
  return true;
}

bool CommonDialog::RunFontDialog() {
  LOGFONTA lf = {};
  if (data_.fontBold) lf.lfWeight = FW_BOLD;
  lf.lfItalic = data_.fontItalic;
  lf.lfStrikeOut = data_.fontStrikeOut;
  lf.lfUnderline = data_.fontUnderline;
  lstrcpynA(lf.lfFaceName, data_.fontName.c_str(), LF_FACESIZE);
  const int dpi = [] {
    rt::WindowDC screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  }();
  if (data_.fontSize != 0) lf.lfHeight = -MulDiv(data_.fontSize, dpi, 72);
  CHOOSEFONTA cf = {};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = GetActiveWindow();
  cf.lpLogFont = &lf;
  // The properties are the dialog's starting values as well as its result.
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = data_.color;
  if (!ChooseFontA(&cf)) return false;
  data_.color = cf.rgbColors;
  data_.fontBold = lf.lfWeight >= FW_BOLD;
  data_.fontItalic = lf.lfItalic != 0;
  data_.fontStrikeOut = lf.lfStrikeOut != 0;
  data_.fontUnderline = lf.lfUnderline != 0;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  data_.fontName = lf.lfFaceName;
  data_.fontSize = MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, dpi);
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
  if (data_.helpCommand == 4) {
    markHelp(true);
    WinHelpA(window, nullptr, HELP_HELPONHELP, 0);
    return true;
  }
  if (data_.helpCommand == 5) {
    markHelp(false);
    WinHelpA(window, nullptr, HELP_QUIT, 0);
    return true;
  }
  const std::string file = data_.helpFile.empty() ? ProgramHelpFile() : data_.helpFile;
  if (file.empty() || GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  UINT command = HELP_FINDER;
  ULONG_PTR data = 0;
  if (data_.helpCommand == 3) command = HELP_FORCEFILE;
  if ((data_.helpCommand == 1 || data_.helpCommand == 2) && data_.helpTopic != 0) {
    command = data_.helpCommand == 1 ? HELP_CONTEXT : HELP_CONTEXTPOPUP;
    data = static_cast<ULONG_PTR>(data_.helpTopic);
  }
  markHelp(true);
  WinHelpA(window, file.c_str(), command, data);
  return true;
}

const rt::ComponentTypeInfo kCommonDlgType = ComponentTypeEntry<CommonDialog>(
    "通用对话框", "CommonDlg", kTypeLibraryBit | rt::TypeHiddenAtRunTime | rt::TypeIsControl);

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
