// One source file's work: read its icon groups, then write each one as an .ico file
// (the bytes the library's own extraction writes), write its chosen images as PNG
// files (--png), or describe it for --list.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/source_plan.h"
#include "formats/icons/icon_image_set.h"
#include "formats/icons/module_resources.h"

namespace cli {

struct FileReport {
  std::vector<std::string> listLines;  // --list: one line per group
  std::vector<std::string> failures;   // one line per failed file or icon, naming it and why
  std::string skipped;                 // a file found by a walk that holds no icons: the line naming it
  bool hasIcons = false;               // the file holds icon groups
  size_t written = 0;                  // icon or PNG files written (or groups listed)
};

// Handles one planned source.  Never throws: running out of memory (or any other
// exception) is a failure of the file.
FileReport ExportFile(const Source& source, const Options& options);

// A resource name as the list shows it: an id in decimal, a text in double quotes with
// anything but printable ASCII (and the quote and backslash) as \uXXXX.
std::string NameText(const iconres::ResourceName& name);
// "32x32 4-bit, 256x256 32-bit PNG": each image's size and bits per pixel.
std::string ImagesText(const iconres::IconImageSet& set);

}  // namespace cli
