// A DIB icon image written as a .bmp file: the file header, the image's header with
// the colour bitmap's height, its palette and its colour rows; the mask is dropped.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/icons/icon_image_set.h"

namespace iconres {

constexpr uint32_t kBitmapFileHeaderSize = 14;

// The .bmp bytes of a DIB entry.  Nothing for a PNG entry or for an image whose
// colour rows do not lie inside its bytes.  The entry is never modified.
std::optional<std::vector<uint8_t>> BuildBitmapFile(const IconImageEntry& entry);

// True when path now holds the bitmap; on failure an existing file is untouched.
bool WriteBitmapFile(const IconImageEntry& entry, const std::string& path);

}  // namespace iconres
