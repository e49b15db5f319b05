// The window-created handler (the list view accepts dropped files) and the about box.
#include "app/app_routines.h"
#include "app/program_calls.h"
#include "components/drop_target/drop_target_library.h"
#include "runtime/kernel_commands.h"

namespace app {

uint64_t __stdcall OnWindowCreated() {
  const int32_t handle = IntResult(Kernel(&rt::GetWindowHandle, {Component(kIconList, rt::TypeListView)}));
  Library(&comp::RegisterCommand, {Component(kDropTarget, rt::TypeDropTarget), Int(handle)});
  SetProperty(kDropTarget, kPropAcceptFiles, 1);
  return 0;
}

uint64_t __stdcall OnAbout() {
  Kernel(&rt::InfoBox, {Text(Constants().aboutText), Int(0), Omitted()});
  return 0;
}

}  // namespace app
