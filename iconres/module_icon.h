// Icons of modules that the module reader reads, made as the platform's ExtractIconA
// makes them: the group's image chosen by LookupIconIdFromDirectoryEx at the system's
// large icon size, created with CreateIconFromResourceEx.  Files that the reader does
// not read (.ico files, anything else) are left to the caller.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "formats/icons/module_resources.h"

namespace iconres {

// The number of icon groups; nothing when the reader does not read the file.
std::optional<int32_t> ModuleIconCount(const char* path);

// The image that the large icon of a group is made from.
struct ChosenIconImage {
  std::shared_ptr<const ModuleIcons> icons;  // keeps the bytes alive
  const uint8_t* bytes = nullptr;            // null when there is no such group or image
  uint32_t length = 0;
  int cx = 0;  // the system's large icon size, which the icon is made at
  int cy = 0;
};

// The image for a group: a 0-based index, or for a negative index the group whose id
// is minus the index (-1 names none: the platform answers the count there).  Nothing
// when the reader does not read the file.
std::optional<ChosenIconImage> ChooseModuleIconImage(const char* path, int32_t index);

// The icon made from a chosen image; null when there is none.  The caller owns it.
HICON CreateChosenIcon(const ChosenIconImage& image);

}  // namespace iconres
