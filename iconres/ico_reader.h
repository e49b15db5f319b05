// Reading an .ico file from disk into an IconImageSet (iconres/ico_parser.h).
#pragma once
#include <optional>
#include <string>

#include "formats/icons/icon_image_set.h"

namespace iconres {

// Opens the file without sharing and parses it; nothing on any failure.
std::optional<IconImageSet> ReadIconFile(const std::string& path);

}  // namespace iconres
