// Icon groups of a module loaded as a data file: counting them in the platform's
// enumeration order and loading one group with copies of its RT_ICON images.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "iconres/icon_image_set.h"

namespace iconres {

// A resource name as the enumeration reports it: an integer id or a copied string.
struct ResourceName {
  bool isId = true;
  uint16_t id = 0;
  std::string text;
  LPCSTR get() const { return isId ? MAKEINTRESOURCEA(id) : text.c_str(); }
};

struct GroupCount {
  int32_t count = 0;                 // groups reported by the enumeration; 0 when it fails
  std::optional<ResourceName> found;  // the name of group number `target`, when it exists
};

// Counts the RT_GROUP_ICON groups of a loaded module, noting the name of the
// 1-based group number target.
GroupCount CountIconGroups(HMODULE module, int32_t target);

// Loads the named group from the module file: nothing when the module, the group or
// one of its images cannot be found or loaded, when the directory is short, or when
// an image is malformed.  The set holds copies and outlives the module.
std::optional<IconImageSet> LoadIconGroup(const std::string& path, const ResourceName& name);

}  // namespace iconres
