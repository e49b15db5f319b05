// Which files a command line names and where each one's icon files go.
#pragma once
#include <string>
#include <vector>

#include "cli/options.h"

namespace cli {

struct Source {
  std::string path;       // as given, or as found by walking a folder
  std::string outFolder;  // the folder its icon files go to
  std::string title;      // the TITLE of its TITLE-N.ico files
  std::string error;      // when not empty, why the argument cannot be read at all
  bool walked = false;    // found by walking a folder: skipped, not failed, when it holds no icons
  std::string skip;       // when not empty, why the walk skips it without reading it
};

// The files in command-line order; a folder (with -r) gives its entries before those of
// its subfolders, each in byte order of their names, so the plan does not depend on
// the order in which the system lists a folder.  A folder's files go to OUTDIR plus
// their folder relative to it; the entries that are no files are there too, to be
// skipped or to fail with their reasons.  A path given twice is taken once.
//
// TITLE is the file name without its extension.  Files whose titles would meet in one
// output folder (differing at most in ASCII case, which a case-blind file system would
// merge) keep their whole file names as titles, and any that still meet get "~2",
// "~3", ... in plan order, so no two files ever write the same icon file.
std::vector<Source> PlanSources(const Options& options);

// The file name without its extension (from the last dot; a leading dot stays).
std::string TitleOf(const std::string& fileName);

}  // namespace cli
