// Writing icon files on Linux so that an interrupted or failed write leaves nothing:
// the content goes into an unnamed file (O_TMPFILE) in the target's folder, which is
// linked under its name only once it is complete.  Where the file system has no
// unnamed files, a temporary name of this process's own is used instead, and SIGINT
// and SIGTERM remove it before the process ends.  An existing file is replaced by a
// rename, so that it holds either its old content or all of the new.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/file_io.h"
#include "cli/posix_files.h"

namespace cli {
namespace {

// The temporary names that exist right now, for the signal handler: one slot per
// writer, holding the folder's descriptor (-1 when free) and the name in it.
struct PendingName {
  std::atomic<int> folder{-1};
  char name[64] = {};
};
constexpr int kReserved = -2;
PendingName g_pending[1100];  // more than the largest number of workers

// Keeps a temporary name in the table while it exists.
class PendingGuard {
 public:
  PendingGuard(int folder, const std::string& name) {
    if (name.size() >= sizeof g_pending[0].name) return;
    for (PendingName& slot : g_pending) {
      int expected = -1;
      if (!slot.folder.compare_exchange_strong(expected, kReserved)) continue;
      std::memcpy(slot.name, name.c_str(), name.size() + 1);
      slot.folder.store(folder);
      slot_ = &slot;
      return;
    }
  }
  ~PendingGuard() {
    if (slot_) slot_->folder.store(-1);
  }
  PendingGuard(const PendingGuard&) = delete;
  PendingGuard& operator=(const PendingGuard&) = delete;

 private:
  PendingName* slot_ = nullptr;
};

void RemovePendingNames(int signal) {
  for (PendingName& slot : g_pending) {
    const int folder = slot.folder.load();
    if (folder >= 0) unlinkat(folder, slot.name, 0);
  }
  // Then end as the signal would have ended the process.
  ::signal(signal, SIG_DFL);
  raise(signal);
}

// Writes the content into fd; 0 or the error number.
int Fill(int fd, const iconres::ContentWriter& write) {
  DescriptorSink sink(fd);
  if (!write(sink)) return sink.error() ? sink.error() : EIO;
  return 0;
}

std::string TemporaryName() {
  static std::atomic<uint32_t> serial{0};
  return ".~ico" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".tmp";
}

// Gives an unnamed file the name `name` in folder, replacing a file of that name.
int LinkUnnamed(int fd, int folder, const std::string& name) {
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  auto link = [&](const std::string& as) {
    if (linkat(AT_FDCWD, self, folder, as.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    // Without /proc, the descriptor itself (which needs more privileges).
    if (errno == ENOENT && linkat(fd, "", folder, as.c_str(), AT_EMPTY_PATH) == 0) return 0;
    return errno;
  };
  const int linked = link(name);
  if (linked != EEXIST) return linked;
  // An existing file: link under a temporary name, then rename over it.
  const std::string temp = TemporaryName();
  PendingGuard pending(folder, temp);
  if (const int code = link(temp)) return code;
  if (renameat(folder, temp.c_str(), folder, name.c_str()) == 0) return 0;
  const int code = errno;
  unlinkat(folder, temp.c_str(), 0);
  return code;
}

// The same with a temporary name: created only when it does not exist yet, so that no
// other writer's file is ever touched, and renamed over the target when complete.
int WriteThroughTemporaryName(int folder, const std::string& name, const iconres::ContentWriter& write) {
  std::string temp;
  Descriptor fd;
  std::optional<PendingGuard> pending;
  for (int attempt = 0; attempt < 8 && fd.get() < 0; ++attempt) {
    temp = TemporaryName();
    // Known to the signal handler before it exists: a signal that came between the
    // two steps would leave the file behind.
    pending.reset();
    pending.emplace(folder, temp);
    fd.reset(openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0 && errno != EEXIST) break;
  }
  if (fd.get() < 0) return errno;
  int code = Fill(fd.get(), write);
  if (!fd.Close() && code == 0) code = errno;
  if (code == 0 && renameat(folder, temp.c_str(), folder, name.c_str()) != 0) code = errno;
  if (code != 0) unlinkat(folder, temp.c_str(), 0);
  return code;
}

int WriteFile(const std::string& path, const iconres::ContentWriter& write) {
  LongPath at;
  if (!at.Resolve(ParentOf(path))) return errno;
  Descriptor folder(openat(at.folder(), at.rest().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0) return errno;
  const std::string name = FileNameOf(path);
  Descriptor fd(openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (fd.get() < 0) {
    // No unnamed files on this file system (or this kernel).
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
      return WriteThroughTemporaryName(folder.get(), name, write);
    return errno;
  }
  if (const int code = Fill(fd.get(), write)) return code;  // closing fd removes the unnamed file
  const int linked = LinkUnnamed(fd.get(), folder.get(), name);
  // ENOENT from both ways of linking: no /proc (a sandbox may hide it) and no right to
  // link a descriptor.  The content is written again under a temporary name.
  if (linked == ENOENT) return WriteThroughTemporaryName(folder.get(), name, write);
  return linked;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const iconres::ContentWriter& write, std::string* error) {
  const int code = WriteFile(path, write);
  if (code != 0) *error = SystemError(code);
  return code == 0;
}

void PrepareProcess() {
  // Signals that the caller ignores (nohup) stay ignored.
  for (int s : kEndingSignals) {
    struct sigaction was;
    if (sigaction(s, nullptr, &was) != 0 || was.sa_handler == SIG_IGN) continue;
    struct sigaction now = {};
    now.sa_handler = RemovePendingNames;
    sigemptyset(&now.sa_mask);
    sigaction(s, &now, nullptr);
  }
  // A walk keeps one folder open per level of depth.
  struct rlimit files;
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }
}

}  // namespace cli
