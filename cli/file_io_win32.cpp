// The file system side of the extractor on Windows: ANSI paths in the system's code
// page, whose two-byte characters may end in a byte that looks like a backslash, so
// paths are split with the library's code-page-aware helpers.  Modules are read and
// icons written through the icon library itself, so the files are those that the
// tool's own extraction writes.
#include <windows.h>

#include "cli/file_io.h"
#include "iconres/file_replace.h"
#include "iconres/module_cache.h"
#include "iconres/path_text.h"
#include "runtime/handles.h"

namespace cli {
namespace {

// The system's text for an error code, in English where the system has it.
std::string SystemError(DWORD code) {
  char text[512] = {};
  DWORD n = 0;
  for (DWORD language : {DWORD(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), DWORD(0)}) {
    n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, language, text,
                       sizeof text, nullptr);
    if (n > 0) break;
  }
  std::string s(text, n);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  if (s.empty()) s = "system error";
  return s + " (error " + std::to_string(code) + ")";
}

bool IsFolder(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

PathKind KindOfPath(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? PathKind::Missing : PathKind::Other;
  }
  return (a & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error) {
  WIN32_FIND_DATAA d;
  HANDLE find = FindFirstFileA(JoinPath(folder, "*").c_str(), &d);
  if (find == INVALID_HANDLE_VALUE) {
    *error = SystemError(GetLastError());
    return false;
  }
  entries->clear();
  do {
    const std::string name = d.cFileName;
    if (name == "." || name == "..") continue;
    // A folder that is a link or junction is not walked: it could lead back up the tree.
    PathKind kind = PathKind::File;
    if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      kind = (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? PathKind::Other : PathKind::Folder;
    entries->push_back({name, kind});
  } while (FindNextFileA(find, &d));
  const DWORD end = GetLastError();
  FindClose(find);
  if (end != ERROR_NO_MORE_FILES) {
    *error = SystemError(end);
    return false;
  }
  return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return iconres::FileNameOf(folder).empty() ? folder + name : folder + "\\" + name;
}

std::string FileNameOf(const std::string& path) { return iconres::FileNameOf(path); }

ReadOutcome ReadModuleFile(const std::string& path, std::shared_ptr<const iconres::ModuleIcons>* icons,
                           std::string* error) {
  // The library's reader does not say why it read nothing; opening the file first
  // tells an unreadable file from one that is not a module.
  {
    rt::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      *error = SystemError(GetLastError());
      return ReadOutcome::Unreadable;
    }
  }
  *icons = iconres::CachedModuleIcons(path);
  return *icons ? ReadOutcome::Read : ReadOutcome::NotModule;
}

bool MakeFolders(const std::string& path, std::string* error) {
  DWORD code = 0;
  auto make = [&] {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    code = GetLastError();
    return IsFolder(path);
  };
  if (make()) return true;
  const std::string parent = iconres::FolderOf(path);
  if (code == ERROR_PATH_NOT_FOUND && parent != path && parent != ".") {
    if (!MakeFolders(parent, error)) return false;
    if (make()) return true;
  }
  *error = "cannot create folder " + path + ": " + SystemError(code);
  return false;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  if (iconres::ReplaceFileWith(path, bytes)) return true;
  *error = SystemError(GetLastError());
  return false;
}

bool StderrIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

}  // namespace cli
