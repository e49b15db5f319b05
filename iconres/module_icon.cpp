#include "iconres/module_icon.h"

#include "iconres/module_cache.h"
#include "formats/icons/icon_directory.h"

namespace iconres {
namespace {

// The group that an index names, or null.
const ModuleIconGroup* GroupAt(const ModuleIcons& icons, int32_t index) {
  if (index >= 0) return static_cast<size_t>(index) < icons.groups.size() ? &icons.groups[index] : nullptr;
  if (index == -1) return nullptr;
  for (const ModuleIconGroup& g : icons.groups)
    if (g.name.isId && g.name.id == -int64_t(index)) return &g;
  return nullptr;
}

}  // namespace

std::optional<int32_t> ModuleIconCount(const char* path) {
  std::shared_ptr<const ModuleIcons> icons = CachedModuleIcons(path ? path : "");
  if (!icons) return std::nullopt;
  return static_cast<int32_t>(icons->groups.size());
}

std::optional<ChosenIconImage> ChooseModuleIconImage(const char* path, int32_t index) {
  ChosenIconImage chosen;
  chosen.icons = CachedModuleIcons(path ? path : "");
  if (!chosen.icons) return std::nullopt;
  chosen.cx = GetSystemMetrics(SM_CXICON);
  chosen.cy = GetSystemMetrics(SM_CYICON);
  const ModuleIcons& icons = *chosen.icons;
  const ModuleIconGroup* group = GroupAt(icons, index);
  if (!group) return chosen;
  // The platform trusts the directory's count, so it must hold every entry it claims.
  const auto entries =
      rt::ParseIconDirectory(icons.at(group->directory), group->directory.length, rt::IconDirectoryKind::Group);
  if (!entries || entries->empty()) return chosen;
  // The platform reads the directory in place; it is not modified.
  const int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(icons.at(group->directory)), TRUE, chosen.cx, chosen.cy,
                                             LR_DEFAULTCOLOR);
  for (const rt::IconDirectoryEntry& e : *entries) {
    if (e.id != id) continue;
    // NE images are cut to the length that this entry states.
    std::optional<ByteRange> image = icons.EntryImage(e.id, e.byteSize);
    if (image && image->length > 0) {
      chosen.bytes = icons.at(*image);
      chosen.length = image->length;
    }
    break;
  }
  return chosen;
}

HICON CreateChosenIcon(const ChosenIconImage& image) {
  if (!image.bytes) return nullptr;
  return CreateIconFromResourceEx(const_cast<PBYTE>(image.bytes), image.length, TRUE, 0x00030000, image.cx, image.cy,
                                  LR_DEFAULTCOLOR);
}

}  // namespace iconres
