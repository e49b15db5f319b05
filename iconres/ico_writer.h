// Writing an icon set as an .ico file (the layout is ico_builder.h's).
#pragma once
#include <string>

#include "formats/icons/ico_builder.h"
#include "formats/icons/icon_image_set.h"

namespace iconres {

// Streams the file to path (file_replace.h); true when path now holds it.  On failure
// nothing is left behind and an existing file at path is untouched.
bool WriteIconFile(const IconImageSet& set, const std::string& path);

}  // namespace iconres
