#include "cli/posix_files.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {

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
