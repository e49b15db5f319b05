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

#include "runtime/byte_reader.h"

namespace icontest {

// A DIB icon image: 40-byte header with biHeight = 2 x height, a palette for 1, 4 and
// 8 bits, colour rows and mask rows, each row padded to 32 bits.
inline std::vector<uint8_t> MakeDib(int32_t width, int32_t height, uint16_t bits, uint32_t sizeImage = 0,
                                    uint8_t fill = 0x5A) {
  rt::ByteAppender a;
  a.u32(40);
  a.i32(width);
  a.i32(height * 2);
  a.u16(1);
  a.u16(bits);
  a.u32(0);  // BI_RGB
  a.u32(sizeImage);
  a.i32(0);
  a.i32(0);
  a.u32(0);
  a.u32(0);
  uint32_t palette = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  for (uint32_t i = 0; i < palette * 4; ++i) a.u8(static_cast<uint8_t>(i));
  uint32_t stride = ((bits * width + 31) / 32) * 4;
  uint32_t maskStride = ((width + 31) / 32) * 4;
  for (uint32_t i = 0; i < stride * height; ++i) a.u8(static_cast<uint8_t>(fill + i));
  for (uint32_t i = 0; i < maskStride * height; ++i) a.u8(0);
  return a.take();
}

// The start of a PNG stream: signature, IHDR, a few further bytes.
inline std::vector<uint8_t> MakePng(uint32_t width, uint32_t height, uint8_t depth = 8, uint8_t colourType = 6) {
  std::vector<uint8_t> p = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (uint32_t v : {width, height})
    for (int s = 24; s >= 0; s -= 8) p.push_back(static_cast<uint8_t>(v >> s));
  p.insert(p.end(), {depth, colourType, 0, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF});
  p.insert(p.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return p;
}

// A group directory of these entries (14 bytes each); width/height/colour fields are
// filled with values the library must ignore.
// Each entry is {image id, byte size}.
inline std::vector<uint8_t> MakeGroup(const std::vector<std::pair<uint16_t, uint32_t>>& entries,
                                      int claimedCount = -1) {
  rt::ByteAppender a;
  a.u16(0);
  a.u16(1);
  a.u16(static_cast<uint16_t>(claimedCount < 0 ? entries.size() : claimedCount));
  for (const auto& [id, byteSize] : entries) {
    a.u8(99);
    a.u8(99);
    a.u8(7);
    a.u8(0);
    a.u16(3);
    a.u16(3);
    a.u32(byteSize);
    a.u16(id);
  }
  return a.take();
}

inline uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  rt::ByteReader r(b.data(), b.size());
  r.seek(at);
  return r.u32();
}
inline uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
  rt::ByteReader r(b.data(), b.size());
  r.seek(at);
  return r.u16();
}

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
