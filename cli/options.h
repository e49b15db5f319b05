// The command line of extract-icons:
//   extract-icons [-o OUTDIR] [-r] [-j N] [--list] PATH...
#pragma once
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::string outDir = ".";
  bool recursive = false;
  unsigned jobs = 0;  // 0: one per core
  bool list = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> paths;
};

// Reads the arguments after the program name.  False with a reason for anything that
// is not a valid command line; -h or --help sets help and --version sets version, and
// neither needs a PATH.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

extern const char kUsage[];

}  // namespace cli
