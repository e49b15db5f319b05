#include "runtime/service_table.h"

#include "runtime/component_properties.h"
#include "runtime/dll_binding.h"
#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/program_shutdown.h"
#include "runtime/program_start.h"
#include "runtime/values.h"

namespace rt {
namespace {

void* __stdcall AllocSlot(int32_t size) { return AllocMemory(size); }
void* __stdcall ReallocSlot(void* p, int32_t size) { return ReallocMemory(p, size); }
void __stdcall FreeSlot(void* p) { FreeMemory(p); }

uint32_t __stdcall DllCommandSlot(uint32_t command, int32_t argc, const uint32_t* args) {
  return CallDllCommand(command, args, static_cast<uint32_t>(argc > 0 ? argc : 0));
}

uint64_t __stdcall PropertyReadSlot(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member) {
  return GetComponentPropertyValue(windowId, componentId, property, member);
}

void __stdcall PropertyWriteSlot(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member,
                                 uint32_t value, uint32_t high) {
  SetComponentProperty(windowId, componentId, property, member, value, high);
}

uint32_t __stdcall IndexedService(int32_t number, uint32_t argument) {
  switch (number) {
    case ServiceInitialiseRuntime:
      InitialiseRuntime(PointerOf<const ProgramHeader>(argument));
      return 1;
    case ServiceRegisterExitRoutine:
      RegisterExitRoutine(reinterpret_cast<ExitRoutineFn>(static_cast<uintptr_t>(argument)));
      return 1;
    default:
      return 0;
  }
}

}  // namespace

void __stdcall CallCommand(CommandFunction command, int32_t argc, ArgRecord* args, ResultRecord* out) {
  ResultRecord result = {0, 0, 0};
  command(&result, argc, args);
  *out = result;
}

const ServiceTable& Services() {
  static const ServiceTable table = {
      &RaiseRuntimeError,
      &DllCommandSlot,
      &CallCommand,
      &CallCommand,
      &PropertyReadSlot,
      &PropertyWriteSlot,
      &AllocSlot,
      &ReallocSlot,
      &FreeSlot,
      &EndProgram,
      &RunMessageLoop,
      &LoadStartupWindow,
      &IndexedService,
  };
  return table;
}

}  // namespace rt
