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

}  // namespace

bool ReplaceFileWith(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return false;
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
