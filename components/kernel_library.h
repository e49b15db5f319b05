// The kernel library (library 1): its descriptor with the 51-entry type table, and the
// link through which its components call the runtime.
#pragma once
#include <cstdint>

#include "runtime/library_link.h"
#include "runtime/program_image.h"

namespace comp {

constexpr uint32_t kKernelTypeCount = 51;

rt::LibraryLink& KernelLink();
int32_t __stdcall KernelNotify(int32_t code, int32_t arg1, int32_t arg2);
const rt::LibraryDescriptor& KernelLibrary();

extern const rt::ComponentTypeInfo kMenuType;  // type 3

}  // namespace comp
