#include "app/routine_table.h"

#include "app/app_routines.h"

// Each stub is an indirect jump through its entry of app_routine_targets (6 bytes),
// padded to kRoutineStubSize (.org refuses to assemble a stub that is longer).  A jump keeps the caller's arguments and return address,
// so a routine reached through its stub runs exactly as if it had been called directly.
extern "C" const void* const app_routine_targets[];
extern "C" const unsigned char app_routine_stubs[];

asm(R"(
    .text
    .globl _app_routine_stubs
    .p2align 3
_app_routine_stubs:
    .irp i, 0, 1, 2, 3, 4, 5, 6, 7
    jmp *(_app_routine_targets + 4 * \i)
    .org _app_routine_stubs + 8 * (\i + 1), 0xcc
    .endr
)");

extern "C" const void* const app_routine_targets[] = {
    reinterpret_cast<const void*>(&app::OnWindowCreated),      reinterpret_cast<const void*>(&app::OnBrowseClicked),
    reinterpret_cast<const void*>(&app::OnLoadClicked),        reinterpret_cast<const void*>(&app::OnFilesDropped),
    reinterpret_cast<const void*>(&app::OnListRightClicked),   reinterpret_cast<const void*>(&app::ExtractSelectedIcons),
    reinterpret_cast<const void*>(&app::ExtractAllIcons),      reinterpret_cast<const void*>(&app::OnAbout),
};
static_assert(sizeof app_routine_targets / sizeof app_routine_targets[0] == static_cast<int>(app::Routine::Count),
              "one stub per routine (the .irp list above counts them too)");
static_assert(app::kRoutineStubSize == 8, "the stubs above are 8 bytes long");

namespace app {

uint32_t CodeBase() { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(app_routine_stubs)); }

}  // namespace app
