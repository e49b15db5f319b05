// The command line of extract-icons:
//   extract-icons [-o OUTDIR] [-r] [-j N] [--list] [-v] [--files-from FILE [-0]]
//                 [--png [--size N|largest|all]] PATH...
//   extract-icons --thumbnail SIZE INPUT OUTPUT   (Linux build)
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace cli {

// Which images of each group --png writes.
struct SizeChoice {
  enum Kind { All, Largest, AtLeast } kind = All;
  int32_t pixels = 0;  // AtLeast: the smallest width wanted
};

struct Options {
  std::string outDir = ".";
  bool recursive = false;
  unsigned jobs = 0;  // 0: one per core
  bool list = false;
  bool verbose = false;
  bool png = false;  // PNG files of the groups' images instead of .ico files
  SizeChoice size;
  bool help = false;
  bool version = false;
  std::string filesFrom;  // a file of further paths, "-" for standard input; empty for none
  bool nulSeparated = false;
  uint32_t thumbnailSize = 0;  // --thumbnail: the size; paths then hold INPUT and OUTPUT
  std::vector<std::string> paths;
};

// Reads the arguments after the program name.  False with a reason for anything that
// is not a valid command line; -h or --help sets help and --version sets version, and
// neither needs a PATH.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// What the counts of written things are, as the summary and progress line name them:
// "icons listed", "images written" (--png) or "icons written".
const char* OutputNoun(const Options& options);

// The paths of a --files-from list: one a line (a line end of "\r\n" counts as "\n"),
// or each ended by a NUL byte; empty names are left out.
std::vector<std::string> SplitPathList(const std::string& bytes, bool nulSeparated);

extern const char kUsage[];

}  // namespace cli
