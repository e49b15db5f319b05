// Owning wrappers for the platform handles the icon library holds: files, clipboard
// sessions and COM interfaces.  Each is non-copyable and releases
// its handle when it goes out of scope.
#pragma once
#include <windows.h>

#include "runtime/com_ptr.h"

namespace iconres {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  // Closes now; reports whether the close succeeded (buffered writes may fail here).
  bool Close() {
    bool ok = true;
    if (valid()) ok = CloseHandle(h_) != FALSE;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

class ClipboardSession {
 public:
  ClipboardSession() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~ClipboardSession() { if (open_) CloseClipboard(); }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

using rt::ComPtr;

}  // namespace iconres
