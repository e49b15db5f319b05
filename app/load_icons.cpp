// Loading a file's icons into the list: LoadIconsFromFile, AssociatedProgramOf and the
// three ways a file is named (open-file dialog, typed path, drop on the list).
#include "app/app_routines.h"
#include "app/program_calls.h"
#include "components/common_dialog/common_dialog.h"
#include "components/list_view/image_list_commands.h"
#include "components/list_view/list_view_library.h"
#include "iconres/shortcut.h"
#include "runtime/kernel_commands.h"
#include "runtime/text_commands.h"

namespace app {
namespace {

bool ReadsItself(const char* extension) {
  const ConstantBlock& c = Constants();
  return TextsEqual(extension, c.extExe) || TextsEqual(extension, c.extDll) || TextsEqual(extension, c.extOcx) ||
         TextsEqual(extension, c.extIcl);
}

rt::ArgRecord IconList() { return Component(kIconList, rt::TypeListView); }

void ReportNoIcons() {
  SetProperty(kStatusLabel, kPropLabelTextColour, 255);  // red
  SetTextProperty(kStatusLabel, kPropCaption, Constants().noIcons);
  Library(&comp::DeleteAllItemsCommand, {IconList()});
}

// Fills the list: the image list, the numbered items and the status line.  False
// when the window went away while icons were being added (the loop lets messages
// through, so the user may close it); nothing is touched then.
bool ShowIcons(const char* source, int32_t count) {
  const HWND list = reinterpret_cast<HWND>(
      static_cast<uintptr_t>(IntResult(Kernel(&rt::GetWindowHandle, {IconList()}))));
  OwnedBlock images(CopyByteSet(EmptyImageListSet()));
  SetTextProperty(kStatusLabel, kPropCaption, Constants().searching);
  for (int32_t i = 1; i <= count; ++i) {
    Library(&comp::AddFileIconCommand, {rt::RefArg(images.slot(), rt::TagBytes), Text(source), Int(i - 1), Omitted()});
    Kernel(&rt::ProcessEvents);
    if (!IsWindow(list)) return false;
  }
  Library(&comp::DeleteAllItemsCommand, {IconList()});
  SetProperty(kIconList, kPropListImages, Word(images.get()));
  const int32_t n = IntResult(Library(&comp::GetImageCountCommand, {rt::ArgRecord{Word(images.get()), 0, rt::TagBytes}}));
  for (int32_t i = 1; i <= n; ++i) {
    OwnedText caption(NumberText(i));
    Library(&comp::InsertItemCommand,
            {IconList(), Omitted(), Text(caption.get()), Int(i - 1), Omitted(), Omitted(), Omitted()});
  }
  SetProperty(kStatusLabel, kPropLabelTextColour, 0);  // black
  OwnedText number(NumberText(count));
  OwnedText status(ConcatTexts({Constants().searchDone, number.get()}));
  SetTextProperty(kStatusLabel, kPropCaption, status.get());
  return true;
}

}  // namespace

void LoadIconsFromFile(char** path) {
  OwnedText extension(CopyText(PointerOf<char>(Dll(DllFindExtension, *path))));
  OwnedText source(ReadsItself(extension.get()) ? CopyText(*path) : AssociatedProgramOf(*path));
  const int32_t count = IntResult(Library(&comp::GetFileIconCountCommand, {Text(source.get())}));
  if (count <= 0) {
    ReportNoIcons();
  } else if (!ShowIcons(source.get(), count)) {
    return;
  }
  SetTextProperty(kPathEdit, kPropCaption, source.get());
  AssignText(&g_currentIconSource, source.get());
}

char* AssociatedProgramOf(const char* file) {
  // The platform writes up to MAX_PATH bytes into the buffer.
  OwnedText buffer(TextResult(Kernel(&rt::BlankText, {Int(MAX_PATH)})));
  const uint32_t found = Dll(DllFindExecutable, file, Constants().empty, buffer.get());
  // A result of 32 or below is a failure, and the buffer then holds no program.
  if (found <= 32) return nullptr;
  return CopyText(buffer.get());
}

uint64_t __stdcall OnBrowseClicked() {
  SetTextProperty(kOpenDialog, kPropDialogFilter, Constants().openFilter);
  SetTextProperty(kOpenDialog, kPropDialogTitle, Constants().openTitle);
  SetProperty(kOpenDialog, kPropDialogType, 0);  // open
  const rt::ResultRecord confirmed = Kernel(&comp::OpenCommand, {Component(kOpenDialog, rt::TypeCommonDlg)});
  if (confirmed.value) {
    OwnedText name(PointerOf<char>(GetProperty(kOpenDialog, kPropDialogFileName)));
    LoadIconsFromFile(name.slot());
  }
  return 0;
}

uint64_t __stdcall OnLoadClicked() {
  OwnedText typed(PointerOf<char>(GetProperty(kPathEdit, kPropCaption)));
  if (!Kernel(&rt::FileExists, {Text(typed.get())}).value) return 0;
  OwnedText path(PointerOf<char>(GetProperty(kPathEdit, kPropCaption)));
  LoadIconsFromFile(path.slot());
  return 0;
}

uint64_t __stdcall OnFilesDropped(char** droppedText) {
  void* paths = PointerOf<void>(Kernel(&rt::SplitText, {Text(*droppedText), Text(Constants().lineBreak), Omitted()}).value);
  char* first = PointerOf<char>(ArrayItem(paths, 1));  // borrowed from the array
  OwnedText target(TextResult(Library(&iconres::ResolveShortcut, {Text(first), Omitted(), Omitted(), Omitted(),
                                                                   Omitted(), Omitted(), Omitted(), Omitted()})));
  if (!IsEmptyText(target.get()))
    LoadIconsFromFile(target.slot());
  else
    LoadIconsFromFile(&first);
  FreeTextArray(paths);
  return 0;
}

}  // namespace app
