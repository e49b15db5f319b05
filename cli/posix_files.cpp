#include "cli/posix_files.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {

bool DescriptorSource::ReadAt(uint64_t offset, void* out, size_t n) {
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

bool DescriptorSink::Write(const void* data, size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  while (n > 0) {
    const ssize_t done = write(fd_, p, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      error_ = done < 0 ? errno : ENOSPC;
      return false;
    }
    p += done;
    n -= static_cast<size_t>(done);
  }
  return true;
}

const int LongPath::kCurrentFolder = AT_FDCWD;

bool Descriptor::Close() {
  const bool ok = fd_ < 0 || close(fd_) == 0;
  fd_ = -1;
  return ok;
}

std::string SystemError(int code) { return std::strerror(code); }

std::string ParentOf(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

bool LongPath::Resolve(const std::string& path) {
  folder_.reset(-1);
  rest_ = path;
  while (rest_.size() >= PATH_MAX) {
    // The longest leading piece that ends at a separator and fits.
    const size_t cut = rest_.rfind('/', PATH_MAX - 1);
    if (cut == std::string::npos) {
      errno = ENAMETOOLONG;
      return false;
    }
    const std::string piece = cut == 0 ? "/" : rest_.substr(0, cut);
    const int fd = openat(folder(), piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    folder_.reset(fd);
    rest_.erase(0, cut + 1);
  }
  return true;
}

}  // namespace cli
