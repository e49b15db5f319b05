// --png output: which images of a group are written, the names of their files, and
// their PNG bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/options.h"
#include "formats/icons/icon_image_set.h"

namespace cli {

// The images of a group to write, as indexes in directory order.  All: every image.
// Largest: the one of greatest width, then height.  AtLeast N: the smallest one at least
// N pixels wide, or the largest when none is.  Between images of one size the deeper
// one wins, and between those the first.
std::vector<size_t> ChooseImages(const iconres::IconImageSet& set, const SizeChoice& choice);

// The file name of each chosen image: TITLE-N-WxH.png; where two chosen images share a
// size, TITLE-N-WxH-Dbit.png with D the image's bits per pixel, and where they share
// that too, "~2", "~3", ... before ".png" in directory order.
std::vector<std::string> PngFileNames(const std::string& title, size_t number, const iconres::IconImageSet& set,
                                      const std::vector<size_t>& chosen);

// The PNG file of an image.  A PNG image that is already 8-bit RGBA without interlacing
// is kept byte for byte, as the .ico files keep it, once its header passes the
// decoder's checks (size, directory entry); any other image is decoded
// (formats/icons/icon_decoder.h) and encoded as 8-bit RGBA.  False with a reason when the
// image cannot be decoded or encoded.
bool PngOfImage(const iconres::IconImageEntry& image, std::vector<uint8_t>* png, std::string* error);

}  // namespace cli
