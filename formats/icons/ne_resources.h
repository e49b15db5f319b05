// The icon groups and images of a NE file (16-bit modules and icon libraries).
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "formats/icons/module_reading.h"

namespace iconres {

// `file` starts with the DOS header, `header` is the offset of the "NE" signature.
// Nothing, with what is damaged in `damage`, when the header or the resource table
// cannot be read (see ReadModuleIcons).
std::optional<ModuleIcons> ReadNeIcons(BlockReader& file, uint32_t header, std::string* damage, size_t groupLimit);

}  // namespace iconres
