// The bytes of a global memory block that a call handed over (a property blob); the
// block is freed.  Empty for a null block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/handles.h"

namespace testing_support {

inline std::vector<uint8_t> GlobalBytes(HGLOBAL block) {
  rt::GlobalBlock owned(block);
  rt::GlobalLockGuard<const uint8_t> bytes(owned.get());
  if (!bytes) return {};
  return std::vector<uint8_t>(bytes.get(), bytes.get() + bytes.size());
}

}  // namespace testing_support
