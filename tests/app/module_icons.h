// The icon groups of a module as the platform's resource functions see them, for
// checking what the tool lists and writes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform_module_icons.h"

namespace app_test {

inline std::string SystemFolder() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

// The image resources of each of the module's icon groups as an .ico file holds them,
// in the platform's enumeration order.
inline std::vector<std::vector<std::string>> GroupImages(const std::string& module) {
  std::vector<std::vector<std::string>> groups;
  for (testref::PlatformGroup& g : testref::PlatformIconGroups(module).value_or(std::vector<testref::PlatformGroup>{})) {
    for (std::string& image : g.images) image = testref::AsWrittenToIco(std::move(image));
    groups.push_back(std::move(g.images));
  }
  return groups;
}

}  // namespace app_test
