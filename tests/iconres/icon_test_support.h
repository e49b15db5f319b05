// Helpers shared by the icon library tests: image bytes built to order, a temporary
// folder per test, whole-file reads and writes, and fixture modules made by copying
// the empty fixture DLL and adding icon resources to the copy.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "formats/byte_reader.h"
#include "tests/formats/image_bytes.h"

namespace icontest {

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  DWORD size = GetFileSize(h, nullptr);
  bytes.resize(size);
  DWORD read = 0;
  if (size && (!ReadFile(h, bytes.data(), size, &read, nullptr) || read != size)) bytes.clear();
  CloseHandle(h);
  return bytes;
}

inline bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

inline bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Names of the files in a folder (no . and ..).
inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = d.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h, &d));
  FindClose(h);
  return names;
}

// The modules of one folder whose extension is .exe, .dll, .ocx or .cpl, sorted.
inline std::vector<std::string> ModulesIn(const std::string& folder) {
  std::vector<std::string> paths;
  for (const std::string& name : FilesIn(folder)) {
    if (name.size() < 4) continue;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    if (ext == ".exe" || ext == ".dll" || ext == ".ocx" || ext == ".cpl") paths.push_back(folder + "\\" + name);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

inline std::string WindowsFolder() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

// Removes a folder with everything in it.
inline void RemoveTree(const std::string& folder) {
  for (const std::string& n : FilesIn(folder)) {
    const std::string f = folder + "\\" + n;
    SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(f.c_str())) RemoveTree(f);
  }
  RemoveDirectoryA(folder.c_str());
}

// A fresh folder under the temporary path, removed with its content at the end.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    path_ = std::string(base) + "iconres_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() { RemoveTree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

inline std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\'));
}
inline std::string FixtureDll() { return ProgramFolder() + "\\iconres_fixture.dll"; }

// One resource to add to a fixture module.
struct Resource {
  LPCSTR type;          // RT_ICON or RT_GROUP_ICON
  std::string name;     // a string name, or empty for the integer id
  uint16_t id;
  WORD language;
  std::vector<uint8_t> bytes;
};
inline Resource Icon(uint16_t id, std::vector<uint8_t> bytes, WORD language = 0) {
  return Resource{RT_ICON, "", id, language, std::move(bytes)};
}
inline Resource Group(uint16_t id, std::vector<uint8_t> bytes, WORD language = 0) {
  return Resource{RT_GROUP_ICON, "", id, language, std::move(bytes)};
}
inline Resource NamedGroup(const std::string& name, std::vector<uint8_t> bytes, WORD language = 0) {
  return Resource{RT_GROUP_ICON, name, 0, language, std::move(bytes)};
}

// Copies the empty fixture DLL to path and adds the resources; false on any failure.
inline bool MakeModule(const std::string& path, const std::vector<Resource>& resources) {
  if (!CopyFileA(FixtureDll().c_str(), path.c_str(), FALSE)) return false;
  HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
  if (!update) return false;
  for (const Resource& r : resources) {
    LPCSTR name = r.name.empty() ? MAKEINTRESOURCEA(r.id) : r.name.c_str();
    if (!UpdateResourceA(update, r.type, name, r.language, const_cast<uint8_t*>(r.bytes.data()),
                         static_cast<DWORD>(r.bytes.size()))) {
      EndUpdateResourceA(update, TRUE);
      return false;
    }
  }
  return EndUpdateResourceA(update, FALSE) != FALSE;
}

}  // namespace icontest
