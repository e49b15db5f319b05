#include "iconres/file_replace.h"

#include <windows.h>

#include <algorithm>

#include "iconres/path_text.h"
#include "iconres/win_handles.h"

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
  // GetTempFileNameA creates the (empty) temporary file; it fails when the folder
  // does not exist, and then nothing at all has been written.
  char temp[MAX_PATH + 16] = {};
  std::string folder = FolderOf(path);
  if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameA(folder.c_str(), "ico", 0, temp)) return false;

  FileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  bool ok = file.valid() && WriteAll(file.get(), bytes);
  ok = file.Close() && ok;
  ok = ok && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!ok) DeleteFileA(temp);
  return ok;
}

}  // namespace iconres
