// The icon groups and images of a NE file (16-bit modules and icon libraries).
#pragma once
#include <cstdint>
#include <optional>

#include "formats/icons/module_reading.h"

namespace iconres {

// `file` starts with the DOS header, `header` is the offset of the "NE" signature.
std::optional<ModuleIcons> ReadNeIcons(BlockReader& file, uint32_t header, size_t groupLimit);

}  // namespace iconres
