// The file side of --thumbnail on Linux.  A thumbnailer is run on whatever a folder
// holds, inside a sandbox that shows it only INPUT and OUTPUT's folder: it opens
// nothing else, never waits on a special file, and leaves no file behind when it
// fails or is stopped.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    DescriptorSink sink(fd);
    if (!sink.Write(bytes.data(), bytes.size()))
      reason = std::strerror(sink.error());
    else if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
      reason = std::strerror(errno);
  }
  if (close(fd) != 0 && reason.empty()) reason = std::strerror(errno);
  *error = reason;
  return reason.empty();
}

// Fills an `output` that exists (see FillExisting), or writes a new one as the tool
// writes every file (WriteFileAtomically): nothing is left when it fails or is stopped.
bool WriteThumbnail(const std::string& output, const std::vector<uint8_t>& bytes, std::string* error) {
  bool exists = false;
  const bool filled = FillExisting(output, bytes, &exists, error);
  if (exists) return filled;
  return WriteFileAtomically(
      output, [&bytes](iconres::ByteSink& sink) { return sink.Write(bytes.data(), bytes.size()); }, error);
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
