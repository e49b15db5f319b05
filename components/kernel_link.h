// The kernel library's link to the runtime, used by its components and commands.
#pragma once
#include "runtime/library_link.h"

namespace comp {

rt::LibraryLink& KernelLink();

}  // namespace comp
