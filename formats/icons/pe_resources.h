// The icon groups and images of a PE32 or PE32+ file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "formats/icons/module_reading.h"

namespace iconres {

// `file` starts with the DOS header, `header` is the offset of the "PE" signature.
// Nothing, with what is damaged in `damage`, when the headers or the resource
// directory cannot be read (see ReadModuleIcons).
std::optional<ModuleIcons> ReadPeIcons(BlockReader& file, uint32_t header, const LanguageOrder& languages,
                                       std::string* damage, size_t groupLimit);

}  // namespace iconres
