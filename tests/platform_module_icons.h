// The icon groups of a module as the platform's resource functions see them
// (LoadLibraryExA as a data file, EnumResourceNamesA, FindResourceA, LoadResource): the
// reference that the tests compare the library's own module reader and its output with.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testref {

struct PlatformGroup {
  std::string name;                 // "#<id>" for a numbered group, else its name
  std::string directory;            // the RT_GROUP_ICON data
  std::vector<std::string> images;  // each entry's RT_ICON data in directory order; empty when missing
};

inline std::string ResourceBytes(HMODULE m, LPCSTR name, LPCSTR type) {
  HRSRC r = FindResourceA(m, name, type);
  const char* d = r ? static_cast<const char*>(LockResource(LoadResource(m, r))) : nullptr;
  return d ? std::string(d, SizeofResource(m, r)) : std::string();
}

inline BOOL CALLBACK CollectPlatformGroup(HMODULE m, LPCSTR type, LPSTR name, LONG_PTR out) {
  PlatformGroup g;
  g.name = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : std::string(name);
  g.directory = ResourceBytes(m, name, type);
  const std::string& d = g.directory;
  const size_t count = d.size() >= 6 ? (uint8_t(d[4]) | uint8_t(d[5]) << 8) : 0;
  for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= d.size(); ++i) {
    const size_t at = 6 + 14 * i + 12;  // 12 bytes as in an .ico entry, then a 16-bit resource id
    g.images.push_back(ResourceBytes(m, MAKEINTRESOURCEA(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8), MAKEINTRESOURCEA(3)));
  }
  reinterpret_cast<std::vector<PlatformGroup>*>(out)->push_back(std::move(g));
  return TRUE;
}

// The module's icon groups in the platform's enumeration order; nothing when the
// platform cannot load the module as a data file.
inline std::optional<std::vector<PlatformGroup>> PlatformIconGroups(const std::string& module) {
  HMODULE m = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!m) return std::nullopt;
  std::vector<PlatformGroup> groups;
  EnumResourceNamesA(m, RT_GROUP_ICON, &CollectPlatformGroup, reinterpret_cast<LONG_PTR>(&groups));
  FreeLibrary(m);
  return groups;
}

// An image as the .ico writer stores it: a bitmap image's biSizeImage (bytes 20 to 23) is 0.
inline std::string AsWrittenToIco(std::string bytes) {
  if (bytes.size() >= 40 && bytes.compare(0, 4, std::string("\x28\0\0\0", 4)) == 0) bytes.replace(20, 4, 4, '\0');
  return bytes;
}

}  // namespace testref
