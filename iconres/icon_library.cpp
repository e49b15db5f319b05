#include "iconres/icon_library.h"

#include "iconres/extract_file_icon.h"
#include "iconres/shortcut.h"
#include "iconres/folder_paths.h"

namespace iconres {
namespace {

rt::LibraryLink g_iconLink;
rt::LibraryLink g_shellLink;

const void* const kIconCommands[] = {reinterpret_cast<const void*>(&ExtractFileIcon)};
const void* const kShellCommands[] = {reinterpret_cast<const void*>(&GetSpecialFolder),
                                      reinterpret_cast<const void*>(&ResolveShortcut)};

rt::LibraryDescriptor MakeDescriptor(const char* identifier, const char* name, const char* description,
                                     uint32_t commandCount, const void* const* commands,
                                     rt::LibraryNotifyFn notify) {
  rt::LibraryDescriptor d{};
  d.formatMark = rt::kLibraryFormatMark;
  d.identifier = identifier;
  d.major = 1;
  d.minor = 0;
  d.displayName = name;
  d.language = 1;
  d.description = description;
  d.commandCount = commandCount;
  d.commands = commands;
  d.notify = notify;
  return d;
}

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
      MakeDescriptor("IconExtractor.IconResources", "图标资源", "图标组的枚举与提取，.ico 文件的读写", 1,
                     kIconCommands, &IconResourceNotify);
  return d;
}

const rt::LibraryDescriptor& ShellLibrary() {
  static const rt::LibraryDescriptor d =
      MakeDescriptor("IconExtractor.Shell", "外壳功能", "特殊文件夹路径与快捷方式解析", 2, kShellCommands,
                     &ShellNotify);
  return d;
}

}  // namespace iconres
