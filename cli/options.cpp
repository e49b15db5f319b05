#include "cli/options.h"

#include <cstdlib>

namespace cli {
namespace {

// A whole positive decimal number no larger than a sensible thread count.
bool ParseJobs(const std::string& text, unsigned* jobs) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long n = std::strtoul(text.c_str(), nullptr, 10);
  if (n < 1 || n > 1024) return false;
  *jobs = static_cast<unsigned>(n);
  return true;
}

}  // namespace

const char kUsage[] =
    "usage: extract-icons [-o OUTDIR] [-r] [-j N] [--list] PATH...\n"
    "  Writes each icon group of each module among PATH as OUTDIR/TITLE-N.ico.\n"
    "  -o OUTDIR  folder for the icon files (default: the current folder)\n"
    "  -r         walk folders recursively, mirroring their structure under OUTDIR\n"
    "  -j N       worker threads (default: one per core)\n"
    "  --list     write nothing; list each group's images\n"
    "Exit status: 0 all written, 1 a file or icon failed, 2 invalid command line.\n";

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
  Options o;
  bool optionsEnd = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnd || a.size() < 2 || a[0] != '-') {
      o.paths.push_back(a);
    } else if (a == "--") {
      optionsEnd = true;
    } else if (a == "-r") {
      o.recursive = true;
    } else if (a == "--list") {
      o.list = true;
    } else if (a == "-h" || a == "--help") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a.compare(0, 2, "-o") == 0 || a.compare(0, 2, "-j") == 0) {
      // The value is glued on (-j4) or the next argument (-j 4).
      std::string value = a.substr(2);
      if (value.empty()) {
        if (i + 1 == args.size()) {
          *error = "option " + a + " needs a value";
          return false;
        }
        value = args[++i];
      }
      if (a[1] == 'o') {
        if (value.empty()) {
          *error = "option -o needs a folder";
          return false;
        }
        o.outDir = value;
      } else if (!ParseJobs(value, &o.jobs)) {
        *error = "option -j needs a number from 1 to 1024, not '" + value + "'";
        return false;
      }
    } else {
      *error = "unknown option " + a;
      return false;
    }
  }
  if (o.paths.empty() && !o.help && !o.version) {
    *error = "no PATH given";
    return false;
  }
  *options = std::move(o);
  return true;
}

}  // namespace cli
