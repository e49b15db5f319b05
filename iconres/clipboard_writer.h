// A DIB icon image placed on the clipboard as CF_DIB: the whole image (header,
// palette, colour rows, mask rows) with the height of the colour bitmap alone.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/icons/icon_image_set.h"

namespace iconres {

// The CF_DIB bytes of a DIB entry: a copy with biHeight halved.  Nothing for a PNG.
std::optional<std::vector<uint8_t>> BuildClipboardDib(const IconImageEntry& entry);

// True when the image was placed on the clipboard.
bool CopyImageToClipboard(const IconImageEntry& entry);

}  // namespace iconres
