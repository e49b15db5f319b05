// Icons of modules that the module reader reads, made as the platform's ExtractIconA
// makes them: the group's image chosen by LookupIconIdFromDirectoryEx at the system's
// large icon size, created with CreateIconFromResourceEx.  Files that the reader does
// not read (.ico files, anything else) are left to the caller.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

namespace iconres {

// The number of icon groups; nothing when the reader does not read the file.
std::optional<int32_t> ModuleIconCount(const char* path);

// The large icon of a group: a 0-based index, or for a negative index the group whose id
// is minus the index (-1 asks for nothing: the platform answers the count there).
// Nothing when the reader does not read the file; a null icon when there is no such
// group or it makes no icon.  The caller owns the icon.
std::optional<HICON> CreateModuleIcon(const char* path, int32_t index);

}  // namespace iconres
