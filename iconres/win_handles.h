// Owning wrappers for the platform handles the icon library holds: files, data
// modules, clipboard sessions and COM interfaces.  Each is non-copyable and releases
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

class DataModule {
 public:
  // Loads a module for its resources only: nothing of it runs.
  explicit DataModule(const char* path)
      : m_(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() { if (m_) FreeLibrary(m_); }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  HMODULE get() const { return m_; }
  explicit operator bool() const { return m_ != nullptr; }

 private:
  HMODULE m_;
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
