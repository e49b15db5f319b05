// The command line of extract-icons:
//   extract-icons [-o OUTDIR] [-r] [-j N] [--list] [-v] [--files-from FILE [-0]] PATH...
#pragma once
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::string outDir = ".";
  bool recursive = false;
  unsigned jobs = 0;  // 0: one per core
  bool list = false;
  bool verbose = false;
  bool help = false;
  std::string filesFrom;  // a file of further paths, "-" for standard input; empty for none
  bool nulSeparated = false;
  std::vector<std::string> paths;
};

// Reads the arguments after the program name.  False with a reason for anything that
// is not a valid command line; -h or --help sets help and needs no PATH.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// The paths of a --files-from list: one a line (a line end of "\r\n" counts as "\n"),
// or each ended by a NUL byte; empty names are left out.
std::vector<std::string> SplitPathList(const std::string& bytes, bool nulSeparated);

extern const char kUsage[];

}  // namespace cli
