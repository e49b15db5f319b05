// What the command-line extractor needs from the file system, the one part that
// differs between its builds: file_io_posix.cpp (Linux) and file_io_win32.cpp
// (Windows, paths in the system's ANSI code page).  Every failure comes back with a
// short reason for the user.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/icons/module_resources.h"

namespace cli {

enum class PathKind { Missing, File, Folder, Other };

// What path names; symbolic links are followed.
PathKind KindOfPath(const std::string& path);

struct FolderEntry {
  std::string name;
  PathKind kind = PathKind::Other;  // Folder only for a real folder, not a link to one
};
// The entries of a folder, without "." and "..", in no particular order.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error);

// folder + separator + name (no second separator when folder already ends in one).
std::string JoinPath(const std::string& folder, const std::string& name);
// The last component of a path.
std::string FileNameOf(const std::string& path);

enum class ReadOutcome { Read, Unreadable, NotModule };
// The icon resources of the module at path, read from its bytes.  A module without
// icon groups is Read with an empty group list.
ReadOutcome ReadModuleFile(const std::string& path, std::shared_ptr<const iconres::ModuleIcons>* icons,
                           std::string* error);

// Creates a folder and the folders above it that are missing; true when it exists.
bool MakeFolders(const std::string& path, std::string* error);

// Writes bytes to a temporary file in the target's folder and renames it over path,
// so that path holds either its old content or all of bytes.  On failure no
// temporary file remains.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

bool StderrIsTerminal();

}  // namespace cli
