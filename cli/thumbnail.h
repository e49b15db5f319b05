// --thumbnail SIZE INPUT OUTPUT: the picture that a file manager shows for a module or
// an .ico file, by the freedesktop.org thumbnail conventions.  The file manager runs
// the program through its thumbnailer entry (linux/extract-icons.thumbnailer) and
// scales the image down to its thumbnail size itself.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "formats/icons/module_resources.h"

namespace cli {

// The thumbnail of the file that `source` reads, for a thumbnail of `size` pixels, as
// an 8-bit RGBA PNG stream.  The file is an .ico file (recognised by its header) or a
// PE32, PE32+ or NE module; of a module, the first icon group in the platform's
// numbering is taken (the icon the Windows shell shows for it).  Of the group, the
// image that --size takes for `size`: the smallest at least that wide, else the
// largest; it is never scaled.  False with a reason for the user when the file is
// neither, holds no icon, or the image is damaged.  Memory and time follow what the
// file holds, whatever its headers claim.
bool MakeThumbnail(iconres::ByteSource& source, uint32_t size, std::vector<uint8_t>* png, std::string* error);

// Runs the mode on files: INPUT is read, OUTPUT written through a temporary file in its
// folder that is renamed over it when complete, and removed on failure or when a
// signal ends the process, so OUTPUT never exists half written.  Prints a failure as
// "extract-icons: INPUT: reason" on standard error; returns the exit code (0 written,
// 1 failed).
int RunThumbnail(uint32_t size, const std::string& input, const std::string& output);

}  // namespace cli
