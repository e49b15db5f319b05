// The folder browser: BrowseForFolder and its callback, which preselects the folder.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/app_routines.h"
#include "app/program_calls.h"
#include "runtime/text_commands.h"

namespace app {

static_assert(sizeof(BROWSEINFOA) == 32, "the folder-browse record is eight words");
static_assert(offsetof(BROWSEINFOA, lpszTitle) == 12 && offsetof(BROWSEINFOA, lpfn) == 20,
              "folder-browse record layout");

namespace {
constexpr int32_t kFlagEditBox = 16;          // BIF_EDITBOX
constexpr int32_t kFlagNewDialogStyle = 64;   // BIF_NEWDIALOGSTYLE
constexpr int32_t kFlagIncludeFiles = 16384;  // BIF_BROWSEINCLUDEFILES
constexpr int32_t kPathBufferLength = 512;    // SHGetPathFromIDListA writes at most MAX_PATH

bool FlagValue(OptionalFlag flag, bool defaultValue) { return flag.given ? flag.value : defaultValue; }
}  // namespace

char* BrowseForFolder(char** initialFolder, char** title, OptionalFlag includeFiles, OptionalFlag showEditBox,
                      OptionalFlag newDialogStyle) {
  OwnedBlock record(ProgramMemory(sizeof(BROWSEINFOA)));
  BROWSEINFOA* info = static_cast<BROWSEINFOA*>(record.get());
  *info = BROWSEINFOA{};  // no owner, no root, no display-name buffer

  // An omitted title stands for the constant default; a given one is copied in place.
  char* defaultTitle = Constants().defaultFolderTitle;
  char** titleVariable = title ? title : &defaultTitle;
  if (title) AssignText(title, *title);
  OwnedText recordTitle(CopyText(*titleVariable));
  info->lpszTitle = recordTitle.get();

  const rt::ResultRecord flags = Kernel(
      &rt::BitOr, {Int(FlagValue(showEditBox, true) ? kFlagEditBox : 0),
                   Int(FlagValue(newDialogStyle, true) ? kFlagNewDialogStyle : 0),
                   Int(FlagValue(includeFiles, false) ? kFlagIncludeFiles : 0)});
  info->ulFlags = flags.value;
  info->lpfn = reinterpret_cast<BFFCALLBACK>(&BrowseCallback);
  AssignText(&g_browseInitialFolder, *initialFolder);

  void* item = PointerOf<void>(Dll(DllBrowseForFolder, info));
  OwnedText path(TextResult(Kernel(&rt::BlankText, {Int(kPathBufferLength)})));
  if (item) {
    Dll(DllPathFromIdList, item, path.get());
    CoTaskMemFree(item);  // the item list belongs to the caller of the dialog
  }
  // A cancelled dialog leaves the blanks, which trim to the empty text.
  return TextResult(Kernel(&rt::TrimSpaces, {Text(path.get())}));
}

int32_t __stdcall BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM) {
  if (message == BFFM_INITIALIZED && !IsEmptyText(g_browseInitialFolder))
    Dll(DllSendMessage, dialog, BFFM_SETSELECTIONA, 1, g_browseInitialFolder);
  return 1;
}

}  // namespace app
