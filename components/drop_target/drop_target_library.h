// The drag-and-drop library (library 6): DropTarget and its command Register.
#pragma once
#include <cstdint>

#include "runtime/library_link.h"
#include "runtime/program_image.h"
#include "runtime/values.h"

namespace comp {

extern const rt::ComponentTypeInfo kDropTargetType;
extern const rt::LibraryDescriptor kDropTargetLibrary;
rt::LibraryLink& DropTargetLibraryLink();
int32_t __stdcall DropTargetLibraryNotify(int32_t code, int32_t arg1, int32_t arg2);

// Register(ComponentRef, window handle) → logical.
void __cdecl RegisterCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace comp
