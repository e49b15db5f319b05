// The file system side of the extractor on Windows: ANSI paths in the system's code
// page, whose two-byte characters may end in a byte that looks like a backslash, so
// paths are split with the library's code-page-aware helpers.  Modules are read and
// icons written through the icon library itself, so the files are those that the
// tool's own extraction writes.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

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

// A folder is known by its path: the platform's look-ups take whole paths.
class PathFolder : public Folder {
 public:
  explicit PathFolder(std::string path) : path_(std::move(path)) {}

  bool List(std::vector<FolderEntry>* entries, std::string* error) override {
    WIN32_FIND_DATAA d;
    rt::UniqueHandle<rt::handle_traits::Find> find(FindFirstFileA(JoinPath(path_, "*").c_str(), &d));
    if (!find.valid()) {
      *error = SystemError(GetLastError());
      return false;
    }
    entries->clear();
    do {
      FolderEntry e;
      e.name = d.cFileName;
      if (e.name == "." || e.name == "..") continue;
      // A folder that is a link or junction is not walked: it could lead back up the tree.
      e.kind = FolderEntry::File;
      if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        e.kind = (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FolderEntry::Skipped : FolderEntry::Folder;
        if (e.kind == FolderEntry::Skipped) e.reason = "link to a folder (not walked)";
      }
      entries->push_back(std::move(e));
    } while (FindNextFileA(find.get(), &d));
    const DWORD end = GetLastError();
    if (end != ERROR_NO_MORE_FILES) {
      *error = SystemError(end);
      return false;
    }
    return true;
  }

  std::unique_ptr<Folder> Open(const std::string& name, std::string*) override {
    return std::make_unique<PathFolder>(JoinPath(path_, name));
  }

 private:
  std::string path_;
};

}  // namespace

void PrepareProcess() {
  // Nothing to do: a file being written is marked for deletion until it is complete, so
  // the platform removes it however the process ends.
}

PathKind KindOfPath(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? PathKind::Missing : PathKind::Other;
  }
  return (a & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::unique_ptr<Folder> OpenFolder(const std::string& path, std::string* error) {
  if (!IsFolder(path)) {
    const DWORD code = GetLastError();
    *error = SystemError(code ? code : ERROR_DIRECTORY);
    return nullptr;
  }
  return std::make_unique<PathFolder>(path);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return iconres::FileNameOf(folder).empty() ? folder + name : folder + "\\" + name;
}

std::string FileNameOf(const std::string& path) { return iconres::FileNameOf(path); }

std::string ShownPath(const std::string& path) {
  // A backslash is always the separator here (no name holds one), and no byte below
  // 0x20 is part of a two-byte character.
  std::string shown;
  for (char c : path) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u != 0x7F) {
      shown += c;
      continue;
    }
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04X", u);
    shown += text;
  }
  return shown;
}

ReadOutcome ReadModuleFile(const std::string& path, std::shared_ptr<const iconres::ModuleIcons>* icons,
                           std::string* error) {
  // Opening the file first tells an unreadable file, or one that is no file on disk (a
  // device, a pipe), from one that is not a module.
  {
    rt::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      *error = SystemError(GetLastError());
      return ReadOutcome::Unreadable;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return ReadOutcome::NotRegular;
  }
  *icons = iconres::ReadModuleIconsUncached(path, error);
  if (*icons) return ReadOutcome::Read;
  return error->empty() ? ReadOutcome::NotModule : ReadOutcome::Damaged;
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
  *error = "cannot create folder " + ShownPath(path) + ": " + SystemError(code);
  return false;
}

bool WriteFileAtomically(const std::string& path, const iconres::ContentWriter& write, std::string* error) {
  uint32_t code = 0;
  if (iconres::ReplaceFileWith(path, write, &code)) return true;
  *error = SystemError(code);
  return false;
}

std::FILE* OpenPathList(const std::string& from, std::string* error) {
  if (from == "-") _setmode(_fileno(stdin), _O_BINARY);  // -0 lists hold any byte
  std::FILE* in = from == "-" ? stdin : std::fopen(from.c_str(), "rb");
  if (!in) *error = SystemError(GetLastError());
  return in;
}

bool StderrIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

}  // namespace cli
