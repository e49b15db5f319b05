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

// "all", "largest" or a whole number of pixels from 1 to 4096.
bool ParseSize(const std::string& text, SizeChoice* size) {
  if (text == "all" || text == "largest") {
    size->kind = text == "all" ? SizeChoice::All : SizeChoice::Largest;
    return true;
  }
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long n = std::strtoul(text.c_str(), nullptr, 10);
  if (n < 1 || n > 4096) return false;
  size->kind = SizeChoice::AtLeast;
  size->pixels = static_cast<int32_t>(n);
  return true;
}

#ifdef EXTRACT_ICONS_THUMBNAILS
// --thumbnail SIZE INPUT OUTPUT, alone: SIZE a whole number of pixels, as for --size.
bool ParseThumbnail(const std::vector<std::string>& args, Options* options, std::string* error) {
  if (args.size() != 4) {
    *error = "--thumbnail takes SIZE INPUT OUTPUT and no other argument";
    return false;
  }
  SizeChoice size;
  if (!ParseSize(args[1], &size) || size.kind != SizeChoice::AtLeast) {
    *error = "--thumbnail needs a size from 1 to 4096, not '" + args[1] + "'";
    return false;
  }
  Options o;
  o.thumbnailSize = static_cast<uint32_t>(size.pixels);
  o.paths = {args[2], args[3]};
  *options = std::move(o);
  return true;
}
#endif

}  // namespace

const char kUsage[] =
    "usage: extract-icons [-o OUTDIR] [-r] [-j N] [--list] [-v] [--files-from FILE [-0]]\n"
    "                     [--png [--size N|largest|all]] PATH...\n"
    "  Writes each icon group of each module among PATH as OUTDIR/TITLE-N.ico.\n"
    "  -o OUTDIR          folder for the icon files (default: the current folder)\n"
    "  -r                 walk folders recursively, mirroring their structure under OUTDIR;\n"
    "                     files found there that hold no icons are skipped, not failed\n"
    "  -j N               worker threads (default: one per core)\n"
    "  --list             write nothing; list each group's images\n"
    "  -v                 name the skipped files too\n"
    "  --files-from FILE  also read the PATHs in FILE, one a line (- for standard input)\n"
    "  -0                 the names in FILE each end with a NUL byte instead\n"
    "  --png              write images as PNG files instead: OUTDIR/TITLE-N-WxH.png\n"
    "                     (TITLE-N-WxH-Dbit.png where two images of a group share a size),\n"
    "                     8-bit RGBA\n"
    "  --size S           with --png, the images of each group: all (default), largest, or N\n"
    "                     for the smallest image at least N pixels wide (the largest when\n"
    "                     none is); of equal sizes the deeper image; no scaling\n"
#ifdef EXTRACT_ICONS_THUMBNAILS
    "   or: extract-icons --thumbnail SIZE INPUT OUTPUT.png\n"
    "  Writes the image of INPUT's first icon group that --size SIZE takes, for a\n"
    "  SIZE-pixel thumbnail, as a PNG file.\n"
#endif
    "Exit code: 0 when nothing failed, 1 when a file or an icon failed (each is named\n"
    "with its reason), 2 for a usage error.\n";

bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error) {
#ifdef EXTRACT_ICONS_THUMBNAILS
  if (!args.empty() && args[0] == "--thumbnail") return ParseThumbnail(args, options, error);
#endif
  Options o;
  bool optionsEnd = false, sizeGiven = false;
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
    } else if (a == "-v") {
      o.verbose = true;
    } else if (a == "-0") {
      o.nulSeparated = true;
    } else if (a == "--files-from" || a.compare(0, 13, "--files-from=") == 0) {
      if (a.size() > 12) {
        o.filesFrom = a.substr(13);
      } else if (i + 1 < args.size()) {
        o.filesFrom = args[++i];
      }
      if (o.filesFrom.empty()) {
        *error = "option --files-from needs a file";
        return false;
      }
    } else if (a == "--png") {
      o.png = true;
    } else if (a == "--size" || a.compare(0, 7, "--size=") == 0) {
      std::string value;
      if (a.size() > 6) {
        value = a.substr(7);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        *error = "option --size needs a value";
        return false;
      }
      if (!ParseSize(value, &o.size)) {
        *error = "option --size needs all, largest or a number from 1 to 4096, not '" + value + "'";
        return false;
      }
      sizeGiven = true;
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
  if (o.nulSeparated && o.filesFrom.empty()) {
    *error = "option -0 needs --files-from";
    return false;
  }
  if (sizeGiven && !o.png) {
    *error = "option --size needs --png";
    return false;
  }
  if (o.paths.empty() && o.filesFrom.empty() && !o.help && !o.version) {
    *error = "no PATH given";
    return false;
  }
  *options = std::move(o);
  return true;
}

const char* OutputNoun(const Options& options) {
  return options.list ? "icons listed" : options.png ? "images written" : "icons written";
}

std::vector<std::string> SplitPathList(const std::string& bytes, bool nulSeparated) {
  std::vector<std::string> paths;
  const char end = nulSeparated ? '\0' : '\n';
  for (size_t from = 0; from < bytes.size();) {
    size_t cut = bytes.find(end, from);
    if (cut == std::string::npos) cut = bytes.size();
    std::string name = bytes.substr(from, cut - from);
    if (!nulSeparated && !name.empty() && name.back() == '\r') name.pop_back();
    if (!name.empty()) paths.push_back(std::move(name));
    from = cut + 1;
  }
  return paths;
}

}  // namespace cli
