// The ServiceTable: the thirteen entry points through which program code reaches the
// runtime.  Program code calls every slot with the __stdcall convention.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/values.h"

namespace rt {

struct ServiceTable {
  void(__stdcall* raiseRuntimeError)(int32_t code);                                      // 0
  // 1: DLL command number and the function's own 32-bit arguments, first argument first;
  // the call is checked for the stack depth (run-time error 6).
  uint32_t(__stdcall* callDllCommand)(uint32_t command, int32_t argc, const uint32_t* args);
  void(__stdcall* callLibraryCommand)(CommandFunction, int32_t argc, ArgRecord* args, ResultRecord* out);  // 2
  void(__stdcall* callKernelCommand)(CommandFunction, int32_t argc, ArgRecord* args, ResultRecord* out);   // 3
  // 4: the value in EAX; an 8-byte (double, date-time) property's high word in EDX.
  uint64_t(__stdcall* getComponentProperty)(uint32_t windowId, uint32_t componentId, int32_t property,
                                            int32_t member);
  void(__stdcall* setComponentProperty)(uint32_t windowId, uint32_t componentId, int32_t property,
                                        int32_t member, uint32_t value, uint32_t high);  // 5
  void*(__stdcall* allocMemory)(int32_t size);                                           // 6
  void*(__stdcall* reallocMemory)(void* p, int32_t size);                                // 7
  void(__stdcall* freeMemory)(void* p);                                                  // 8
  void(__stdcall* endProgram)(int32_t code);                                             // 9
  void(__stdcall* runMessageLoop)();                                                     // 10
  void(__stdcall* loadStartupWindow)(uint32_t windowId);                                 // 11
  uint32_t(__stdcall* indexedService)(int32_t number, uint32_t argument);                // 12
};
static_assert(sizeof(ServiceTable) == 13 * 4, "thirteen slots");
static_assert(offsetof(ServiceTable, getComponentProperty) == 16 && offsetof(ServiceTable, indexedService) == 48,
              "slot order");

const ServiceTable& Services();

// Slots 2 and 3: clear the result, call the command, hand the three words back.
void __stdcall CallCommand(CommandFunction command, int32_t argc, ArgRecord* args, ResultRecord* out);

// IndexedService numbers used by program code.
enum IndexedServiceNumber : int32_t { ServiceRegisterExitRoutine = 3, ServiceInitialiseRuntime = 6 };

}  // namespace rt
