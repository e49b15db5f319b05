// Times the application's load as a user sees it: the real IconExtractor.exe is
// started, the path typed into its edit box and 提取 clicked, and the time runs until
// the status line reports the finished load.  In the same run, the bare platform loop
// (ExtractIconA and ImageList_ReplaceIcon per icon) over the same file, in this process.
//   app_load_bench.exe FILE... [--screenshot FOLDER]
// Each file is loaded three times, each load followed by the platform loop; the
// screenshot, when asked for, is taken after the last load of each file
// (FOLDER\load-N.bmp).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/platform_loop.h"
#include "tests/app/app_driver.h"

namespace {

// Seconds from the click to the finished status line; the status count in *count.
double TimedLoad(const app_test::AppSession& app, const std::string& path, int* count) {
  app.ClearStatus();
  app.TypePath(path);
  const double start = bench::Now();
  app.Click(app_test::kLoadId);
  for (;;) {
    const std::string s = app.Status();
    if (s.rfind(app_test::StatusDone(), 0) == 0 || s == app_test::StatusNoIcons()) break;
    if (bench::Now() - start > 600) return -1;
    Sleep(2);
  }
  const double seconds = bench::Now() - start;
  *count = app.LoadedCount();
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  std::string screenshots;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--screenshot" && i + 1 < argc) {
      screenshots = argv[++i];
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.empty()) {
    std::printf("usage: app_load_bench FILE... [--screenshot FOLDER]\n");
    return 2;
  }
  app_test::AppSession app;
  if (!app.main()) {
    std::printf("the tool did not start: %s\n", app.ProcessState().c_str());
    return 1;
  }
  int failed = 0;
  for (size_t f = 0; f < files.size(); ++f) {
    std::printf("file %s\n", files[f].c_str());
    // Loads and platform loops alternate, so that each pair meets the machine in the
    // same state.
    for (int round = 1; round <= 3; ++round) {
      int count = -1;
      const double seconds = TimedLoad(app, files[f], &count);
      const double start = bench::Now();
      const int32_t images = bench::PlatformLoop(files[f].c_str());
      const double platform = bench::Now() - start;
      std::printf("  round %d: load %d icons %.3f s, platform loop %d icons %.3f s\n", round, count, seconds,
                  static_cast<int>(images), platform);
      if (seconds < 0) ++failed;
    }
    if (!screenshots.empty()) {
      Sleep(1000);  // the list paints its icons
      app_test::SaveScreen(screenshots + "\\load-" + std::to_string(f + 1) + ".bmp");
    }
  }
  return failed ? 1 : 0;
}
