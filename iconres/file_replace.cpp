#include "iconres/file_replace.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "iconres/path_text.h"
#include "runtime/handles.h"

namespace iconres {
namespace {

// Writes to a file handle and keeps the error code of the write that failed.
class FileSink : public ByteSink {
 public:
  explicit FileSink(HANDLE file) : file_(file) {}
  bool Write(const void* data, size_t n) override {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(n, 1u << 20));
      DWORD written = 0;
      if (!WriteFile(file_, p, chunk, &written, nullptr)) {
        error_ = GetLastError();
        return false;
      }
      // A short write is retried for the rest, which then fails with the reason.
      if (written == 0) {
        error_ = ERROR_HANDLE_DISK_FULL;
        return false;
      }
      p += written;
      n -= written;
    }
    return true;
  }
  DWORD error() const { return error_; }

 private:
  HANDLE file_;
  DWORD error_ = 0;
};

bool MarkForDeletion(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO info = {static_cast<BOOLEAN>(deleted)};
  return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != FALSE;
}

// The error code of a step that failed; some failures set none.
DWORD LastError(DWORD otherwise = ERROR_WRITE_FAULT) {
  const DWORD code = GetLastError();
  return code ? code : otherwise;
}

// Writes the content into a file just created and flushes it; 0 or the error code.
DWORD Fill(HANDLE file, const ContentWriter& write) {
  FileSink sink(file);
  if (!write(sink)) return sink.error() ? sink.error() : ERROR_INVALID_DATA;
  if (!FlushFileBuffers(file)) return LastError();
  return 0;
}

// Renames an open file (opened with DELETE access) to path, replacing what is there.
DWORD RenameOver(HANDLE file, const std::string& path) {
  const int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (units <= 0) return LastError(ERROR_INVALID_NAME);
  std::vector<uint8_t> block(sizeof(FILE_RENAME_INFO) + sizeof(WCHAR) * units);
  FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(block.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(sizeof(WCHAR) * (units - 1));
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, info->FileName, units);
  if (!SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(block.size())))
    return LastError(ERROR_ACCESS_DENIED);
  return 0;
}

// Creates path only if it does not exist, shared with no one (so no reader opens it
// before it is complete), with DELETE access for the deletion mark and the rename.
HANDLE CreateNew(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A file just created as `name`, filled and then either kept (renamed over `target`
// first when one is given) or removed.  While the content is written the file is
// marked for deletion, so that the platform removes it however the process ends; where
// the mark cannot be set, a failure deletes it by name instead.  0 or the error code of
// the first step that failed.
DWORD Complete(rt::FileHandle file, const std::string& name, const ContentWriter& write, const std::string* target) {
  const bool marked = MarkForDeletion(file.get(), true);
  DWORD error = Fill(file.get(), write);
  if (!error && marked && !MarkForDeletion(file.get(), false)) error = LastError();
  if (!error && target) {
    error = RenameOver(file.get(), *target);
    if (error && marked) MarkForDeletion(file.get(), true);
  }
  if (!error) return file.reset() ? 0 : LastError();
  file.reset();
  if (!marked) DeleteFileA(name.c_str());
  return error;
}

}  // namespace

bool ReplaceFileWith(const std::string& path, const ContentWriter& write, uint32_t* error) {
  uint32_t unused = 0;
  if (!error) error = &unused;
  *error = 0;
  if (path.empty()) {
    *error = ERROR_INVALID_NAME;
    return false;
  }
  // A new file is written under its own name: the platform looks every new name up in
  // the whole folder (on Wine by scanning it), so one new name per file instead of a
  // temporary name and a rename halves that cost when thousands of icons go into one
  // folder.
  rt::FileHandle created(CreateNew(path));
  if (created.valid()) {
    *error = Complete(std::move(created), path, write, nullptr);
    return *error == 0;
  }
  if (GetLastError() != ERROR_FILE_EXISTS) {
    *error = LastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // An existing file is replaced through a temporary file, so that it stays as it was
  // until the new one is complete.  The temporary file sits next to the target with a
  // short name of this process's own, and is created only if no such file exists.
  static std::atomic<uint32_t> serial{0};
  std::string folder = FolderOf(path);
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string temp =
        folder + "~ico" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + ".tmp";
    rt::FileHandle file(CreateNew(temp));
    if (file.valid()) {
      *error = Complete(std::move(file), temp, write, &path);
      return *error == 0;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  *error = LastError(ERROR_FILE_EXISTS);
  return false;
}

bool ReplaceFileWith(const std::string& path, const std::vector<uint8_t>& bytes, uint32_t* error) {
  return ReplaceFileWith(
      path, [&bytes](ByteSink& out) { return bytes.empty() || out.Write(bytes.data(), bytes.size()); }, error);
}

}  // namespace iconres
