// The icon groups and images of a PE32 or PE32+ file.
#pragma once
#include <cstdint>
#include <optional>

#include "formats/icons/module_reading.h"

namespace iconres {

// `file` starts with the DOS header, `header` is the offset of the "PE" signature.
std::optional<ModuleIcons> ReadPeIcons(BlockReader& file, uint32_t header, const LanguageOrder& languages,
                                       size_t groupLimit);

}  // namespace iconres
