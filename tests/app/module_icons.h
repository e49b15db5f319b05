// The icon groups of a module as the platform's resource functions see them, for
// checking what the tool lists and writes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace app_test {

inline std::string SystemFolder() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

inline BOOL CALLBACK CollectGroupImages(HMODULE m, LPCSTR type, LPSTR name, LONG_PTR groups) {
  std::vector<std::string> images;
  HRSRC r = FindResourceA(m, name, type);
  const uint8_t* d = r ? static_cast<const uint8_t*>(LockResource(LoadResource(m, r))) : nullptr;
  const DWORD size = r ? SizeofResource(m, r) : 0;
  const size_t count = d && size >= 6 ? (d[4] | d[5] << 8) : 0;
  for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= size; ++i) {
    const uint8_t* entry = d + 6 + 14 * i;  // 12 bytes as in an .ico entry, then a 16-bit resource id
    HRSRC image = FindResourceA(m, MAKEINTRESOURCEA(entry[12] | entry[13] << 8), MAKEINTRESOURCEA(3));
    const char* bits = image ? static_cast<const char*>(LockResource(LoadResource(m, image))) : nullptr;
    std::string bytes = bits ? std::string(bits, SizeofResource(m, image)) : std::string();
    // The .ico writer stores a bitmap image's biSizeImage (bytes 20 to 23) as 0.
    if (bytes.size() >= 40 && bytes.compare(0, 4, std::string("\x28\0\0\0", 4)) == 0) bytes.replace(20, 4, 4, '\0');
    images.push_back(std::move(bytes));
  }
  reinterpret_cast<std::vector<std::vector<std::string>>*>(groups)->push_back(std::move(images));
  return TRUE;
}

// The image resources of each of the module's icon groups as an .ico file holds them,
// in the platform's enumeration order.
inline std::vector<std::vector<std::string>> GroupImages(const std::string& module) {
  std::vector<std::vector<std::string>> groups;
  HMODULE m = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!m) return groups;
  EnumResourceNamesA(m, RT_GROUP_ICON, &CollectGroupImages, reinterpret_cast<LONG_PTR>(&groups));
  FreeLibrary(m);
  return groups;
}

}  // namespace app_test
