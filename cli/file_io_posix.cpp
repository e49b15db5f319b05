// The file system side of the extractor on Linux: paths are bytes separated by '/'.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "cli/file_io.h"

namespace cli {
namespace {

std::string SystemError(int code) { return std::strerror(code); }

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool Close() {
    const bool ok = fd_ < 0 || close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

class DescriptorSource : public iconres::ByteSource {
 public:
  DescriptorSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  uint64_t size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t n) override {
    if (offset > size_ || n > size_ - offset) return false;
    uint8_t* p = static_cast<uint8_t*>(out);
    while (n > 0) {
      const ssize_t got = pread(fd_, p, n, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      p += got;
      offset += static_cast<uint64_t>(got);
      n -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_;
};

PathKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return PathKind::File;
  if (S_ISDIR(mode)) return PathKind::Folder;
  return PathKind::Other;
}

std::string ParentOf(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

PathKind KindOfPath(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Other;
  return KindOfMode(st.st_mode);
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries, std::string* error) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    *error = SystemError(errno);
    return false;
  }
  entries->clear();
  while (const dirent* d = readdir(dir)) {
    const std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    // A link to a folder is not walked (it could lead back up the tree); a link to a
    // file is read like the file.
    struct stat st;
    const std::string path = JoinPath(folder, name);
    PathKind kind = PathKind::Other;
    if (lstat(path.c_str(), &st) == 0)
      kind = S_ISLNK(st.st_mode) ? (KindOfPath(path) == PathKind::File ? PathKind::File : PathKind::Other)
                                 : KindOfMode(st.st_mode);
    entries->push_back({name, kind});
  }
  closedir(dir);
  return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string FileNameOf(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

ReadOutcome ReadModuleFile(const std::string& path, std::shared_ptr<const iconres::ModuleIcons>* icons,
                           std::string* error) {
  Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st;
  if (fd.get() < 0 || fstat(fd.get(), &st) != 0) {
    *error = SystemError(errno);
    return ReadOutcome::Unreadable;
  }
  if (!S_ISREG(st.st_mode)) {
    *error = "not a regular file";
    return ReadOutcome::Unreadable;
  }
  DescriptorSource source(fd.get(), static_cast<uint64_t>(st.st_size));
  // Linux has no user or thread language; a resource stored in several languages is
  // taken as a US English system would take it.
  static const iconres::LanguageOrder kLanguages = iconres::ResourceLanguageOrder(0x0409, 0x0409, 0x0409);
  std::optional<iconres::ModuleIcons> read = iconres::ReadModuleIcons(source, kLanguages);
  if (!read) return ReadOutcome::NotModule;
  *icons = std::make_shared<const iconres::ModuleIcons>(std::move(*read));
  return ReadOutcome::Read;
}

bool MakeFolders(const std::string& path, std::string* error) {
  auto make = [&path] { return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && KindOfPath(path) == PathKind::Folder); };
  if (make()) return true;
  if (errno == ENOENT && ParentOf(path) != path) {
    if (!MakeFolders(ParentOf(path), error)) return false;
    if (make()) return true;
  }
  *error = "cannot create folder " + path + ": " + SystemError(errno == EEXIST ? ENOTDIR : errno);
  return false;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  // A name of this process's own next to the target, created only when it does not
  // exist yet, so that no other writer's file is ever touched.
  static std::atomic<uint32_t> serial{0};
  const std::string folder = ParentOf(path);
  std::string temp;
  int created = -1;
  for (int attempt = 0; attempt < 8 && created < 0; ++attempt) {
    temp = JoinPath(folder, ".~ico" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".tmp");
    created = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (created < 0 && errno != EEXIST) break;
  }
  if (created < 0) {
    *error = SystemError(errno);
    return false;
  }
  Descriptor fd(created);
  bool ok = WriteAll(fd.get(), bytes);
  int code = ok ? 0 : errno;
  if (!fd.Close() && ok) {
    ok = false;
    code = errno;
  }
  if (ok && rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    *error = SystemError(code ? code : EIO);
  }
  return ok;
}

bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

}  // namespace cli
