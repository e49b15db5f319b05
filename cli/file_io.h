// What the command-line extractor needs from the file system, the one part that
// differs between its builds: file_io_posix.cpp (Linux) and file_io_win32.cpp
// (Windows, paths in the system's ANSI code page).  Every failure comes back with a
// short reason for the user.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "formats/byte_sink.h"
#include "formats/icons/module_resources.h"

namespace cli {

// Sets the process up for a run: on Linux, temporary files are removed when SIGINT,
// SIGTERM or SIGHUP ends it, and it may keep as many folders open as it is allowed to.
void PrepareProcess();

enum class PathKind { Missing, File, Folder, Other };

// What path names; symbolic links are followed.
PathKind KindOfPath(const std::string& path);

// One entry of a folder, as a walk sees it.
struct FolderEntry {
  enum Kind { File, Folder, Skipped, Failed };
  std::string name;
  Kind kind = Failed;
  std::string reason;  // Skipped and Failed: why ("not a regular file", "cannot be examined: ...")
};

// An open folder.  A walk looks every entry up relative to it, so that its depth is not
// limited by the length of a path.
class Folder {
 public:
  virtual ~Folder() = default;
  // The entries, without "." and "..", in no particular order.  A real folder is a
  // Folder; a link to one is Skipped (it could lead back up the tree); a link to a file
  // is a File; a link that leads nowhere, or anything but a file or folder, is Skipped;
  // an entry that cannot be examined is Failed.
  virtual bool List(std::vector<FolderEntry>* entries, std::string* error) = 0;
  // A subfolder that List gave as a Folder.
  virtual std::unique_ptr<Folder> Open(const std::string& name, std::string* error) = 0;
};
std::unique_ptr<Folder> OpenFolder(const std::string& path, std::string* error);

// folder + separator + name (no second separator when folder already ends in one).
std::string JoinPath(const std::string& folder, const std::string& name);
// The last component of a path.
std::string FileNameOf(const std::string& path);
// A path as the tool prints it: control characters, and backslashes that are part of a
// name (not the separator), as \uXXXX, the escape of resource names.
std::string ShownPath(const std::string& path);

enum class ReadOutcome { Read, Unreadable, NotRegular, NotModule, Damaged };
// The icon resources of the module at path, read from its bytes.  Only a regular file
// is read; anything else is opened without waiting and is NotRegular.  A module without
// icon groups is Read with an empty group list.  Unreadable and Damaged come with the
// reason ("section table outside the file").
ReadOutcome ReadModuleFile(const std::string& path, std::shared_ptr<const iconres::ModuleIcons>* icons,
                           std::string* error);

// Creates a folder and the folders above it that are missing; true when it exists.
bool MakeFolders(const std::string& path, std::string* error);

// Writes what `write` produces to path so that path holds either its old content or all
// of the new one, and so that no partial or temporary file remains when the write
// fails or the process is interrupted.  The error is the first failure's reason.
// `write` must give the same bytes each time: on Linux it may run twice, when an
// unnamed file cannot be given its name (no /proc in a sandbox).
bool WriteFileAtomically(const std::string& path, const iconres::ContentWriter& write, std::string* error);

// The file opened for reading, or standard input (in binary mode) for "-"; null with
// the reason when the file cannot be opened.  The caller closes a file it opened.
std::FILE* OpenPathList(const std::string& from, std::string* error);

bool StderrIsTerminal();

}  // namespace cli
