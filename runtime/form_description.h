// Byte layout of the form description (all integers 32-bit little-endian):
//   key block length (8 x N) | N window ids | N window slots (ignored) | N window records
// Window record: two reserved words, two counted texts, element count E, then the
// element block as a counted byte buffer:
//   E element ids | E offsets (from the end of the offset array) | entries {length L, L bytes}
// The entry layouts of windows/components and of menu items are in form_description.cpp.
// ReadFormDescription, WriteFormDescription and RelocateRoutines are declared in
// runtime/window_table.h; this header adds the pieces the tests and tools use.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/window_table.h"

namespace rt {

// One element's entry data (without its length word); false on truncation or
// trailing bytes.  The element id must be set in `out` beforehand (it selects the layout).
bool ReadElementData(const uint8_t* data, size_t length, ElementTemplate& out);
std::vector<uint8_t> WriteElementData(const ElementTemplate& element);

}  // namespace rt
