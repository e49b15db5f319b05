// A library descriptor for a test: the format mark and the given component types,
// every other field zero.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/program_image.h"

namespace testing_support {

template <size_t N>
rt::LibraryDescriptor TypesOnlyLibrary(const rt::ComponentTypeInfo (&types)[N]) {
  rt::LibraryDescriptor d = {};
  d.formatMark = rt::kLibraryFormatMark;
  d.typeCount = static_cast<uint32_t>(N);
  d.types = types;
  return d;
}

}  // namespace testing_support
