#include "components/drop_target/drop_target_library.h"

#include "components/component_type.h"
#include "components/drop_target/drop_target.h"
#include "runtime/library_entry.h"

namespace comp {

const rt::ComponentTypeInfo kDropTargetType = ComponentTypeEntry<DropTarget>(
    "拖放对象", "DropTarget", kTypeLibraryBit | rt::TypeHiddenAtRunTime | rt::TypeIsControl);

namespace {
const void* const kDropCommands[] = {reinterpret_cast<const void*>(&RegisterCommand)};
}  // namespace

const rt::LibraryDescriptor kDropTargetLibrary = rt::WithCommands(
    rt::WithTypes(rt::ExtensionLibraryEntry("{E3A90C5D7B214F8C9D06A1B2C3D4E5F6}", "拖放支持库", {1, 0, 1},
                                            &DropTargetLibraryNotify),
                  kDropTargetType),
    kDropCommands);

rt::LibraryLink& DropTargetLibraryLink() {
  static rt::LibraryLink link;
  return link;
}

int32_t __stdcall DropTargetLibraryNotify(int32_t code, int32_t arg1, int32_t arg2) {
  return DropTargetLibraryLink().Notify(code, arg1, arg2);
}

void __cdecl RegisterCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  result->value = 0;
  result->tag = rt::TagBool;
  if (argc < 2) return;
  DropTarget* target = CommandComponent<DropTarget>(DropTargetLibraryLink(), args[0]);
  HWND window = rt::PointerOf<HWND__>(args[1].value);
  if (target && target->Register(window)) result->value = 1;
}

}  // namespace comp
