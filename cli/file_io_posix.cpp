// The file system side of the extractor on Linux: paths are bytes separated by '/'.
// A path may be longer than PATH_MAX (a deep folder found by a walk, and its mirror
// under OUTDIR): such a path is opened piece by piece, each piece relative to the
// folder opened before it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/file_io.h"
#include "cli/posix_files.h"

namespace cli {
namespace {

PathKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return PathKind::File;
  if (S_ISDIR(mode)) return PathKind::Folder;
  return PathKind::Other;
}

class PosixFolder : public Folder {
 public:
  explicit PosixFolder(int fd) : fd_(fd) {}

  bool List(std::vector<FolderEntry>* entries, std::string* error) override {
    // The listing reads through a descriptor of its own, so that this one stays open
    // for the look-ups below and for opening subfolders.
    DIR* dir = nullptr;
    const int listed = fcntl(fd_.get(), F_DUPFD_CLOEXEC, 0);
    if (listed < 0 || !(dir = fdopendir(listed))) {
      *error = SystemError(errno);
      if (listed >= 0) close(listed);
      return false;
    }
    rewinddir(dir);
    entries->clear();
    for (;;) {
      errno = 0;
      const dirent* d = readdir(dir);
      if (!d) break;
      const std::string name = d->d_name;
      if (name != "." && name != "..") entries->push_back(Examine(name));
    }
    const int code = errno;
    closedir(dir);
    if (code != 0) *error = SystemError(code);
    return code == 0;
  }

  std::unique_ptr<Folder> Open(const std::string& name, std::string* error) override {
    // Not through a link: List gave this name as a real folder.
    const int fd = openat(fd_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      *error = SystemError(errno);
      return nullptr;
    }
    return std::make_unique<PosixFolder>(fd);
  }

 private:
  FolderEntry Examine(const std::string& name) const {
    FolderEntry e;
    e.name = name;
    struct stat st;
    if (fstatat(fd_.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      e.reason = errno == ENOENT ? "vanished during the walk" : "cannot be examined: " + SystemError(errno);
      return e;
    }
    if (S_ISLNK(st.st_mode)) {
      if (fstatat(fd_.get(), name.c_str(), &st, 0) != 0) {
        const int code = errno;
        e.kind = code == ENOENT || code == ELOOP || code == ENOTDIR ? FolderEntry::Skipped : FolderEntry::Failed;
        e.reason = code == ENOENT || code == ENOTDIR ? "link leads nowhere"
                   : code == ELOOP                   ? "link loops"
                                                     : "cannot be examined: " + SystemError(code);
        return e;
      }
      if (S_ISDIR(st.st_mode)) {
        e.kind = FolderEntry::Skipped;
        e.reason = "link to a folder (not walked)";
        return e;
      }
    }
    switch (KindOfMode(st.st_mode)) {
      case PathKind::File: e.kind = FolderEntry::File; break;
      case PathKind::Folder: e.kind = FolderEntry::Folder; break;
      default:
        e.kind = FolderEntry::Skipped;
        e.reason = "not a regular file";
    }
    return e;
  }

  Descriptor fd_;
};

std::string Escaped(unsigned char c) {
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04X", c);
  return text;
}

}  // namespace

PathKind KindOfPath(const std::string& path) {
  LongPath at;
  struct stat st;
  if (!at.Resolve(path) || fstatat(at.folder(), at.rest().c_str(), &st, 0) != 0)
    return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Other;
  return KindOfMode(st.st_mode);
}

std::unique_ptr<Folder> OpenFolder(const std::string& path, std::string* error) {
  LongPath at;
  const int fd =
      at.Resolve(path) ? openat(at.folder(), at.rest().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
  if (fd < 0) {
    *error = SystemError(errno);
    return nullptr;
  }
  return std::make_unique<PosixFolder>(fd);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string FileNameOf(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ShownPath(const std::string& path) {
  std::string shown;
  for (char c : path) {
    const unsigned char u = static_cast<unsigned char>(c);
    shown += u < 0x20 || u == 0x7F || c == '\\' ? Escaped(u) : std::string(1, c);
  }
  return shown;
}

ReadOutcome ReadModuleFile(const std::string& path, std::shared_ptr<const iconres::ModuleIcons>* icons,
                           std::string* error) {
  // Opened without waiting (a FIFO would wait for a writer, a device for its line), and
  // the type checked on what was opened, so that it cannot change in between.
  LongPath at;
  Descriptor fd(at.Resolve(path) ? openat(at.folder(), at.rest().c_str(),
                                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)
                                 : -1);
  struct stat st;
  if (fd.get() < 0 || fstat(fd.get(), &st) != 0) {
    const int code = errno;
    // A socket cannot be opened at all.
    if (fd.get() < 0 && fstatat(at.folder(), at.rest().c_str(), &st, 0) == 0 && !S_ISREG(st.st_mode))
      return ReadOutcome::NotRegular;
    *error = SystemError(code);
    return ReadOutcome::Unreadable;
  }
  if (!S_ISREG(st.st_mode)) return ReadOutcome::NotRegular;
  DescriptorSource source(fd.get(), static_cast<uint64_t>(st.st_size));
  // Linux has no user or thread language; a resource stored in several languages is
  // taken as a US English system would take it.
  std::optional<iconres::ModuleIcons> read = iconres::ReadModuleIcons(source, iconres::UsEnglishLanguageOrder(), error);
  if (!read) return error->empty() ? ReadOutcome::NotModule : ReadOutcome::Damaged;
  *icons = std::make_shared<const iconres::ModuleIcons>(std::move(*read));
  return ReadOutcome::Read;
}

bool MakeFolders(const std::string& path, std::string* error) {
  int code = 0;
  auto make = [&path, &code] {
    LongPath at;
    if (!at.Resolve(path)) {
      code = errno;
      return false;
    }
    if (mkdirat(at.folder(), at.rest().c_str(), 0777) == 0) return true;
    code = errno;
    struct stat st;
    return code == EEXIST && fstatat(at.folder(), at.rest().c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode);
  };
  if (make()) return true;
  if (code == ENOENT && ParentOf(path) != path) {
    if (!MakeFolders(ParentOf(path), error)) return false;
    if (make()) return true;
  }
  *error = "cannot create folder " + ShownPath(path) + ": " + SystemError(code == EEXIST ? ENOTDIR : code);
  return false;
}

std::FILE* OpenPathList(const std::string& from, std::string* error) {
  std::FILE* in = from == "-" ? stdin : std::fopen(from.c_str(), "rb");
  if (!in) *error = SystemError(errno);
  return in;
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace cli
