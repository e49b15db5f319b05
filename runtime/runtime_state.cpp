#include "runtime/runtime_state.h"

namespace rt {

RuntimeState& Runtime() {
  static RuntimeState state;
  return state;
}

const ComponentTypeInfo* ResolveComponentType(uint32_t typeId) {
  if (typeId == 0 || (typeId & 0xC0000000u) != 0) return nullptr;
  uint32_t library = typeId >> 16;
  uint32_t type = typeId & 0xFFFF;
  const RuntimeState& rs = Runtime();
  if (library < 1 || library > rs.libraries.size() || type < 1) return nullptr;
  const LibraryDescriptor* d = rs.libraries[library - 1];
  if (!d || type > d->typeCount || !d->types) return nullptr;
  const ComponentTypeInfo* info = &d->types[type - 1];
  if (!info->englishName && !info->name && info->flags == 0 && !info->getInterface) return nullptr;
  return info;
}

}  // namespace rt
