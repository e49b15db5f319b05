// Program image of the application: header, constant block, libraries, DLL command
// declarations and the form description that the build wrote (main_window_form_bytes.h).
#include "app/program_header.h"

#include "app/app_ids.h"
#include "app/constant_block.h"
#include "app/main_window_form_bytes.h"
#include "app/routine_table.h"
#include "components/drop_target/drop_target_library.h"
#include "components/list_view/image_list_commands.h"
#include "components/kernel_library.h"
#include "components/list_view/list_view_library.h"
#include "iconres/icon_library.h"

namespace app {
namespace {

// DLL commands: library file (empty: the standard system libraries) and entry.
const char* const kDllFiles[kDllCommandCount] = {
    "", "", "", "comdlg32.dll", "shlwapi.dll", "user32.dll", "shlwapi.dll", "shell32.dll",
};
const char* const kDllEntries[kDllCommandCount] = {
    "SHBrowseForFolderA", "SHGetPathFromIDListA", "SendMessageA",       "GetFileTitleA",
    "PathRemoveExtensionA", "MessageBoxTimeoutA", "PathFindExtensionA", "FindExecutableA",
};

}  // namespace

const rt::ProgramHeader& ProgramHeader() {
  // Library numbers: 1 kernel, 2 list view, 3 image lists, 4 icon resources,
  // 5 special folders and shortcuts, 6 drag and drop.
  static const rt::LibraryDescriptor* const libraries[] = {
      &comp::KernelLibrary(),         &comp::kListViewLibrary,   &comp::kImageListLibrary,
      &iconres::IconResourceLibrary(), &iconres::ShellLibrary(), &comp::kDropTargetLibrary,
  };
  static const rt::ProgramHeader header = [] {
    PrepareConstantBlock();
    rt::ProgramHeader h = {};
    h.programKind = 3;
    h.reserved1 = 0;
    h.reserved2 = 0x101ca;
    h.codeBase = CodeBase();
    h.constants = reinterpret_cast<const uint8_t*>(&Constants());
    h.constantsLength = sizeof(ConstantBlock);
    h.form = kMainWindowForm;
    h.formLength = kMainWindowFormLength;
    h.libraryCount = sizeof libraries / sizeof libraries[0];
    h.libraries = libraries;
    h.dllCommandCount = kDllCommandCount;
    h.dllFileNames = kDllFiles;
    h.dllEntryNames = kDllEntries;
    return h;
  }();
  return header;
}

}  // namespace app
