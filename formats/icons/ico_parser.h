// Parsing an .ico file into an IconImageSet: the file is one group and each of its
// directory entries one image, taken from the entry's byte count and offset.  Plain
// functions over bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "formats/icons/icon_image_set.h"

namespace iconres {

// Parses a whole .ico file.  Nothing when the header is not an icon header (reserved
// 0, type 1), the directory or an image lies outside the file, or an image is neither
// a well-formed DIB nor a PNG.  The directory's width, height and colour fields are
// ignored: every entry is derived from its image's own bytes.
// The entries share the file's bytes instead of copying them, so a set costs no more
// memory than the file, however often its directory names one image.
std::optional<IconImageSet> ParseIconFile(std::shared_ptr<const std::vector<uint8_t>> file);
// The same over borrowed bytes, which are copied once.
std::optional<IconImageSet> ParseIconFile(const uint8_t* data, size_t size);

}  // namespace iconres
