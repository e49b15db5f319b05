#include "iconres/icon_library.h"

#include "iconres/extract_file_icon.h"
#include "iconres/shortcut.h"
#include "iconres/folder_paths.h"
#include "runtime/library_entry.h"

namespace iconres {
namespace {

rt::LibraryLink g_iconLink;
rt::LibraryLink g_shellLink;

const void* const kIconCommands[] = {reinterpret_cast<const void*>(&ExtractFileIcon)};
const void* const kShellCommands[] = {reinterpret_cast<const void*>(&GetSpecialFolder),
                                      reinterpret_cast<const void*>(&ResolveShortcut)};

}  // namespace

int32_t __stdcall IconResourceNotify(int32_t code, int32_t arg1, int32_t arg2) {
  return g_iconLink.Notify(code, arg1, arg2);
}
const rt::LibraryLink& IconResourceLink() { return g_iconLink; }

int32_t __stdcall ShellNotify(int32_t code, int32_t arg1, int32_t arg2) {
  return g_shellLink.Notify(code, arg1, arg2);
}
const rt::LibraryLink& ShellLink() { return g_shellLink; }

const rt::LibraryDescriptor& IconResourceLibrary() {
  static const rt::LibraryDescriptor d =
      rt::WithCommands(rt::LibraryEntry("IconExtractor.IconResources", "图标资源", {1, 0, 0}, &IconResourceNotify,
                                        "图标组的枚举与提取，.ico 文件的读写"),
                       kIconCommands);
  return d;
}

const rt::LibraryDescriptor& ShellLibrary() {
  static const rt::LibraryDescriptor d = rt::WithCommands(
      rt::LibraryEntry("IconExtractor.Shell", "外壳功能", {1, 0, 0}, &ShellNotify, "特殊文件夹路径与快捷方式解析"),
      kShellCommands);
  return d;
}

}  // namespace iconres
