// Small helpers of the Linux file side (file_io_posix.cpp, file_write_posix.cpp):
// descriptors that close themselves, error texts, and paths longer than PATH_MAX.
#pragma once
#include <string>

namespace cli {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd) {
    Close();
    fd_ = fd;
  }
  // False when close reports an error (a write that did not reach the file).
  bool Close();

 private:
  int fd_;
};

std::string SystemError(int code);

// The folder part of a path: "." when it has none, "/" for a file in the root.
std::string ParentOf(const std::string& path);

// A path split so that the system can look it up whatever its length: a folder opened
// piece by piece (each piece shorter than PATH_MAX) and the rest of the path relative to
// it.  A short path is left whole, relative to the current folder.
class LongPath {
 public:
  // False, with errno set, when a piece cannot be opened.
  bool Resolve(const std::string& path);
  int folder() const { return folder_.get() >= 0 ? folder_.get() : kCurrentFolder; }
  const std::string& rest() const { return rest_; }

 private:
  static const int kCurrentFolder;
  Descriptor folder_;
  std::string rest_;
};

}  // namespace cli
