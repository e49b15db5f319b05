#include "iconres/icon_group_loader.h"

#include <vector>

#include "iconres/icon_group_directory.h"
#include "iconres/win_handles.h"

namespace iconres {
namespace {

struct Enumeration {
  int32_t target;
  GroupCount result;
};

BOOL CALLBACK OnGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR user) {
  Enumeration* e = reinterpret_cast<Enumeration*>(user);
  if (++e->result.count == e->target) {
    ResourceName n;
    if (IS_INTRESOURCE(name)) {
      n.id = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
    } else {
      n.isId = false;
      n.text = name;
    }
    e->result.found = std::move(n);
  }
  return TRUE;  // always run to the end: the count is the total
}

// The bytes of a resource, copied; its size comes from SizeofResource, never from a
// directory that describes it.
std::optional<std::vector<uint8_t>> CopyResource(HMODULE module, LPCSTR name, LPCSTR type) {
  // FindResourceA takes a resource in any language when none matches the user's,
  // so a group and its images need not share a language.
  HRSRC info = FindResourceA(module, name, type);
  if (!info) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, info);
  const uint8_t* p = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  DWORD size = SizeofResource(module, info);
  if (!p && size != 0) return std::nullopt;
  return std::vector<uint8_t>(p, p + size);
}

}  // namespace

GroupCount CountIconGroups(HMODULE module, int32_t target) {
  Enumeration e{target, {}};
  if (!EnumResourceNamesA(module, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, OnGroup,
                          reinterpret_cast<LONG_PTR>(&e)))
    return {};
  return e.result;
}

std::optional<IconImageSet> LoadIconGroup(const std::string& path, const ResourceName& name) {
  DataModule module(path.c_str());
  if (!module) return std::nullopt;
  std::optional<std::vector<uint8_t>> directory = CopyResource(module.get(), name.get(), MAKEINTRESOURCEA(14));
  if (!directory) return std::nullopt;
  std::optional<std::vector<uint16_t>> ids = ParseGroupDirectory(directory->data(), directory->size());
  if (!ids) return std::nullopt;

  IconImageSet set;
  set.images.reserve(ids->size());
  for (uint16_t id : *ids) {
    std::optional<std::vector<uint8_t>> bytes = CopyResource(module.get(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));
    if (!bytes) return std::nullopt;
    std::optional<IconImageEntry> entry = MakeImageEntry(std::move(*bytes));
    if (!entry) return std::nullopt;
    set.images.push_back(std::move(*entry));
  }
  return set;
}

}  // namespace iconres
