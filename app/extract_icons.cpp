// The list's context menu and the two extraction commands: each icon group is written
// as folder\title-n.ico, and a message that closes itself reports the counts.
#include "app/app_routines.h"
#include "app/program_calls.h"
#include "components/list_view/list_view_library.h"
#include "components/menu/popup_menu_command.h"
#include "iconres/extract_file_icon.h"
#include "iconres/folder_paths.h"

namespace app {
namespace {

constexpr int32_t kDesktopFolder = 3;
constexpr int32_t kTargetFile = 0;
constexpr int32_t kMessageTime = 2000;

rt::ArgRecord IconList() { return Component(kIconList, rt::TypeListView); }

// The folder the user picks, starting on the desktop; null when cancelled.
char* AskForFolder() {
  OwnedText start(TextResult(Library(&iconres::GetSpecialFolder, {Int(kDesktopFolder)})));
  OwnedText title(CopyText(Constants().folderTitle));
  return BrowseForFolder(start.slot(), title.slot());
}

// Writes icon n of the current source to folder\title-n.ico; true when written.
bool WriteIcon(const char* folder, double number) {
  OwnedText title(FileTitleOf(&g_currentIconSource));
  OwnedText numberText(NumberText(number));
  const ConstantBlock& c = Constants();
  OwnedText name(ConcatTexts({folder, c.backslash, title.get(), c.dash, numberText.get(), c.icoExtension}));
  const rt::ResultRecord r =
      Library(&iconres::ExtractFileIcon,
              {Text(g_currentIconSource), Int(kTargetFile), Text(name.get()), Int(TruncateToInt(number))});
  return r.value != 0;
}

void ShowResult(std::initializer_list<const char*> parts) {
  OwnedText message(ConcatTexts(parts));
  ShowTimedMessage(message.slot(), nullptr, kMessageTime);
}

}  // namespace

uint64_t __stdcall OnListRightClicked() {
  OwnedBlock selected(PointerOf<void>(Library(&comp::GetSelectedItemsCommand, {IconList()}).value));
  SetProperty(kExtractSelectedItem, kPropMenuDisabled, ArrayElementCount(selected.get()) == 0 ? 1 : 0);
  selected.reset();
  const int32_t items = IntResult(Library(&comp::GetItemCountCommand, {IconList()}));
  SetProperty(kExtractAllItem, kPropMenuDisabled, items == 0 ? 1 : 0);
  Kernel(&comp::PopupMenuCommand,
         {Component(kWindowElement, rt::TypeWindow), Component(kContextMenu, rt::TypeMenu), Omitted(), Omitted()});
  return 0;
}

uint64_t __stdcall ExtractAllIcons() {
  OwnedText folder(AskForFolder());
  if (IsEmptyText(folder.get())) return 0;
  const int32_t count = IntResult(Library(&comp::GetItemCountCommand, {IconList()}));
  int32_t written = 0, failed = 0;
  for (int32_t i = 1; i <= count; ++i) {
    if (WriteIcon(folder.get(), i))
      ++written;
    else
      ++failed;  // the library reports a failed write as 0
  }
  const double total = static_cast<double>(written) + failed;
  OwnedText totalText(NumberText(total)), writtenText(NumberText(written)), failedText(NumberText(failed));
  const ConstantBlock& c = Constants();
  ShowResult({c.allTotal, totalText.get(), c.allIcons, writtenText.get(), c.allWritten, failedText.get(),
              c.allFailed});
  return 0;
}

uint64_t __stdcall ExtractSelectedIcons() {
  OwnedBlock selected(PointerOf<void>(Library(&comp::GetSelectedItemsCommand, {IconList()}).value));
  const int32_t chosen = ArrayElementCount(selected.get());
  if (chosen < 1) return 0;
  OwnedText folder(AskForFolder());
  if (IsEmptyText(folder.get())) return 0;
  int32_t written = 0;
  for (int32_t k = 1; k <= chosen; ++k) {
    const double number = static_cast<int32_t>(ArrayItem(selected.get(), k)) + 1.0;  // 1-based icon number
    if (WriteIcon(folder.get(), number)) ++written;
  }
  OwnedText chosenText(NumberText(chosen)), writtenText(NumberText(written));
  const ConstantBlock& c = Constants();
  ShowResult({c.selectedTotal, chosenText.get(), c.selectedIcons, writtenText.get(), c.selectedWritten});
  return 0;
}

}  // namespace app
