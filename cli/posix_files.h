// Small helpers of the Linux file side (file_io_posix.cpp, file_write_posix.cpp,
// thumbnail_posix.cpp): descriptors that close themselves, the module reader's bytes
// read from one, bytes written to one, error texts, and paths longer than PATH_MAX.
#pragma once
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/byte_sink.h"
#include "formats/icons/module_resources.h"

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

// The bytes of an open regular file of a known size, read with pread; the descriptor
// stays the caller's.
class DescriptorSource : public iconres::ByteSource {
 public:
  DescriptorSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  uint64_t size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t n) override;

 private:
  int fd_;
  uint64_t size_;
};

// Writes to an open descriptor, from where it stands; the descriptor stays the
// caller's.  After a failed Write, error() is the error number (ENOSPC when the
// system wrote nothing and gave no reason).
class DescriptorSink : public iconres::ByteSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) {}
  bool Write(const void* data, size_t n) override;
  int error() const { return error_; }

 private:
  int fd_;
  int error_ = 0;
};

// The signals that end the program and make it remove its temporary files first: the
// user (SIGINT), a service or client giving up on it (SIGTERM), a closed terminal.
inline constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

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
