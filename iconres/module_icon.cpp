#include "iconres/module_icon.h"

#include "iconres/icon_group_directory.h"
#include "iconres/module_cache.h"

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

std::optional<HICON> CreateModuleIcon(const char* path, int32_t index) {
  std::shared_ptr<const ModuleIcons> icons = CachedModuleIcons(path ? path : "");
  if (!icons) return std::nullopt;
  const ModuleIconGroup* group = GroupAt(*icons, index);
  if (!group) return static_cast<HICON>(nullptr);
  // The platform trusts the directory's count, so it must hold every entry it claims.
  std::optional<std::vector<GroupEntry>> entries = ParseGroupDirectory(icons->at(group->directory), group->directory.length);
  if (!entries || entries->empty()) return static_cast<HICON>(nullptr);
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  // The platform reads the directory in place; it is not modified.
  PBYTE directory = const_cast<PBYTE>(icons->at(group->directory));
  const int id = LookupIconIdFromDirectoryEx(directory, TRUE, cx, cy, LR_DEFAULTCOLOR);
  if (id <= 0 || id > 0xFFFF) return static_cast<HICON>(nullptr);
  uint32_t entryBytes = 0;  // what the directory states for the chosen image; NE images are cut to it
  for (const GroupEntry& e : *entries)
    if (e.id == id) {
      entryBytes = e.byteSize;
      break;
    }
  std::optional<ByteRange> image = icons->EntryImage(static_cast<uint16_t>(id), entryBytes);
  if (!image || image->length == 0) return static_cast<HICON>(nullptr);
  return CreateIconFromResourceEx(const_cast<PBYTE>(icons->at(*image)), image->length, TRUE, 0x00030000, cx, cy,
                                  LR_DEFAULTCOLOR);
}

}  // namespace iconres
