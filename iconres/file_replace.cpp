#include "iconres/file_replace.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "iconres/path_text.h"
#include "runtime/handles.h"

namespace iconres {
namespace {

bool WriteAll(HANDLE file, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written != chunk) return false;
    done += chunk;
  }
  return true;
}

// Writes a file that did not exist under its own name.  It is created only if absent
// and shared with no one, so no reader opens it before it is complete, and it is
// deleted again when a write fails.  The platform looks every new name up in the whole
// folder (on Wine by scanning it), so one new name per file instead of a temporary name
// and a rename halves that cost when thousands of icons go into one folder.
enum class NewFile { Written, Failed, Exists };

NewFile WriteNewFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  rt::FileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return GetLastError() == ERROR_FILE_EXISTS ? NewFile::Exists : NewFile::Failed;
  if (!WriteAll(file.get(), bytes)) {
    FILE_DISPOSITION_INFO gone = {TRUE};
    SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof gone);
    return NewFile::Failed;
  }
  if (file.reset()) return NewFile::Written;
  DeleteFileA(path.c_str());  // the close reported a write that did not reach the file
  return NewFile::Failed;
}

}  // namespace

bool ReplaceFileWith(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
  const NewFile created = WriteNewFile(path, bytes);
  if (created != NewFile::Exists) return created == NewFile::Written;
  // An existing file is replaced through a temporary file, so that it stays as it was
  // until the new one is complete.
  // The temporary file sits next to the target with a short name of this process's own,
  // and is created only if no such file exists; a folder that does not exist fails
  // here, and then nothing at all has been written.
  static std::atomic<uint32_t> serial{0};
  std::string folder = FolderOf(path);
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  std::string temp;
  rt::FileHandle file;
  for (int attempt = 0; attempt < 8 && !file.valid(); ++attempt) {
    temp = folder + "~ico" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + ".tmp";
    file.reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (!file.valid()) return false;
  bool ok = WriteAll(file.get(), bytes);
  ok = file.reset() && ok;
  ok = ok && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) DeleteFileA(temp.c_str());
  return ok;
}

}  // namespace iconres
