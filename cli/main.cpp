// extract-icons: writes the icon groups of modules as .ico files (or their images as
// PNG files), or lists them; in the Linux build, also a module's thumbnail for file
// managers (--thumbnail).
// Exit code 0 when nothing failed, 1 when a file or an icon failed (each one is named
// on the error stream with its reason; files that a walk finds without icons are
// skipped, not failed), 2 for a usage error.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch_run.h"
#include "cli/file_io.h"
#include "cli/options.h"
#include "cli/source_plan.h"
#include "cli/thumbnail.h"

namespace {

// All bytes of --files-from's file, or of standard input for "-".
bool ReadInput(const std::string& from, std::string* bytes, std::string* error) {
  std::FILE* in = cli::OpenPathList(from, error);
  if (!in) return false;
  bytes->clear();
  char block[65536];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, in)) > 0) bytes->append(block, n);
  const bool ok = !std::ferror(in);
  if (!ok) *error = std::strerror(errno ? errno : EIO);
  if (in != stdin) std::fclose(in);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace cli;
  Options options;
  std::string error;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    std::fprintf(stderr, "extract-icons: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::puts("extract-icons " EXTRACT_ICONS_VERSION);
    return 0;
  }
  PrepareProcess();
#ifdef EXTRACT_ICONS_THUMBNAILS
  if (options.thumbnailSize) return RunThumbnail(options.thumbnailSize, options.paths[0], options.paths[1]);
#endif
  try {
    if (!options.filesFrom.empty()) {
      std::string list;
      if (!ReadInput(options.filesFrom, &list, &error)) {
        std::fprintf(stderr, "extract-icons: %s: unreadable: %s\n", ShownPath(options.filesFrom).c_str(),
                     error.c_str());
        return 1;
      }
      for (std::string& path : SplitPathList(list, options.nulSeparated)) options.paths.push_back(std::move(path));
    }
    const std::vector<Source> plan = PlanSources(options);
    BatchSettings settings;
    settings.jobs = options.jobs ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    settings.progress = StderrIsTerminal();
    const BatchTotals totals = RunBatch(plan, options, settings, stdout, stderr);
    std::fprintf(stderr, "%zu files (%zu with icons), %zu %s, %zu skipped, %zu failed\n", totals.files,
                 totals.withIcons, totals.written, OutputNoun(options), totals.skipped, totals.failed);
    return totals.failed > 0 ? 1 : 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "extract-icons: %s\n", e.what());
    return 1;
  }
}
