// The file side of --thumbnail on Linux.  A thumbnailer is run on whatever a folder
// holds, inside a sandbox that shows it only INPUT and OUTPUT's folder: it opens
// nothing else, never waits on a special file, and leaves no file behind when it
// fails or is stopped.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>

#include "cli/file_io.h"
#include "cli/posix_files.h"
#include "cli/thumbnail.h"

namespace cli {
namespace {

// Opens INPUT as a regular file.  O_NONBLOCK: a FIFO or device named as INPUT is
// opened without waiting, and then refused by its type.
bool OpenInput(const std::string& path, Descriptor* fd, uint64_t* size, std::string* error) {
  fd->reset(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  struct stat st;
  if (fd->get() < 0 || fstat(fd->get(), &st) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *error = "not a regular file";
    return false;
  }
  *size = static_cast<uint64_t>(st.st_size);
  return true;
}

// The temporary file while it exists, for the signal handler to remove.
std::atomic<const char*> g_temporary{nullptr};

extern "C" void RemoveTemporaryAndDie(int signal) {
  if (const char* path = g_temporary.load()) unlink(path);
  // The handler was reset to the default on entry (SA_RESETHAND): end as the signal would.
  raise(signal);
}

// The signals that end a thumbnailer: its client gave up on it, or the user.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Holds the ending signals for its lifetime.
class HeldSignals {
 public:
  HeldSignals() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kEndingSignals) sigaddset(&held, signal);
    sigprocmask(SIG_BLOCK, &held, &previous_);
  }
  ~HeldSignals() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  sigset_t previous_;
};

void RemoveTemporaryOnSignals() {
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = RemoveTemporaryAndDie;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : kEndingSignals) sigaction(signal, &action, nullptr);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Creates a file of this process's own next to `output`, only where no file exists,
// so that no other writer's file is touched; the signal handler learns its name in
// the same step (signals are held meanwhile).  -1 with errno set on failure.
int CreateTemporary(const std::string& output, std::string* temporary) {
  const size_t cut = output.find_last_of('/');
  const std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : output.substr(0, cut);
  RemoveTemporaryOnSignals();
  HeldSignals held;
  int fd = -1;
  for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
    *temporary = JoinPath(folder, ".~thumbnail" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp");
    fd = open(temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd >= 0) g_temporary.store(temporary->c_str());
  return fd;
}

// A thumbnail service may create OUTPUT before it runs the thumbnailer and then read
// it through the descriptor it kept (tumbler does): a file renamed over it would go
// unseen.  So an OUTPUT that exists is filled in place, once the image is complete
// and with the ending signals held, so that it is never seen half written unless the
// process is killed outright.  Exists false (and nothing done) when there is no OUTPUT.
bool FillExisting(const std::string& output, const std::vector<uint8_t>& bytes, bool* exists, std::string* error) {
  const int fd = open(output.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  *exists = fd >= 0 || errno != ENOENT;
  if (fd < 0) {
    if (*exists) *error = std::strerror(errno);
    return false;
  }
  std::string reason;
  struct stat st;
  if (fstat(fd, &st) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISREG(st.st_mode)) {
    reason = "not a regular file";
  } else {
    HeldSignals held;
    if (!WriteAll(fd, bytes) || ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
      reason = errno ? std::strerror(errno) : "short write";
  }
  if (close(fd) != 0 && reason.empty()) reason = std::strerror(errno);
  *error = reason;
  return reason.empty();
}

// Writes bytes to a new file next to `output` and renames it over `output`, or fills
// an `output` that exists (see FillExisting).
bool WriteThumbnail(const std::string& output, const std::vector<uint8_t>& bytes, std::string* error) {
  bool exists = false;
  const bool filled = FillExisting(output, bytes, &exists, error);
  if (exists) return filled;
  std::string temporary;
  const int fd = CreateTemporary(output, &temporary);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  int code = ok ? 0 : errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    code = errno;
  }
  if (ok && rename(temporary.c_str(), output.c_str()) != 0) {
    ok = false;
    code = errno;
  }
  if (!ok) {
    unlink(temporary.c_str());
    *error = std::strerror(code ? code : EIO);
  }
  g_temporary.store(nullptr);
  return ok;
}

}  // namespace

int RunThumbnail(uint32_t size, const std::string& input, const std::string& output) {
  std::string error;
  std::vector<uint8_t> png;
  try {
    Descriptor fd;
    uint64_t inputSize = 0;
    if (!OpenInput(input, &fd, &inputSize, &error)) {
      std::fprintf(stderr, "extract-icons: %s: unreadable: %s\n", input.c_str(), error.c_str());
      return 1;
    }
    DescriptorSource file(fd.get(), inputSize);
    if (!MakeThumbnail(file, size, &png, &error)) {
      std::fprintf(stderr, "extract-icons: %s: %s\n", input.c_str(), error.c_str());
      return 1;
    }
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "extract-icons: %s: out of memory\n", input.c_str());
    return 1;
  }
  if (!WriteThumbnail(output, png, &error)) {
    std::fprintf(stderr, "extract-icons: %s: write failed: %s\n", output.c_str(), error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace cli
