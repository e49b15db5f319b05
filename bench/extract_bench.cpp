// Extracts every icon group of a module into a folder, one ExtractFileIcon call per
// group exactly as the application does, and prints the group count, the files and
// bytes written, the failures and the seconds taken.
//   extract_bench.exe MODULE FOLDER
// With --crafted, writes a module and an .ico file of about 2 MB whose one group names
// a 1 MiB image 65,535 times, extracts each, and prints the time and peak memory.
//   extract_bench.exe --crafted FOLDER
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench/platform_loop.h"
#include "iconres/extract_file_icon.h"
#include "runtime/handles.h"
#include "runtime/values.h"
#include "tests/icon_modules.h"

namespace {

int32_t Extract(const std::string& source, const std::string& target, int32_t number) {
  rt::ArgRecord args[4] = {rt::TextArg(source.c_str()), rt::IntArg(0), rt::TextArg(target.c_str()),
                           rt::IntArg(number)};
  rt::ResultRecord result = {0, 0, 0};
  iconres::ExtractFileIcon(&result, 4, args);
  return static_cast<int32_t>(result.value);
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
  return (uint64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

double PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<double>(counters.PeakPagefileUsage) / (1 << 20);
}

int Crafted(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string module = folder + "\\crafted.dll", ico = folder + "\\crafted.ico";
  const std::vector<uint8_t> icoBytes = iconmodules::CraftedIcoFile();
  rt::FileHandle f(CreateFileA(ico.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  const bool icoOk = f.valid() &&
                     WriteFile(f.get(), icoBytes.data(), static_cast<DWORD>(icoBytes.size()), &written, nullptr);
  f.reset();
  if (!icoOk || !iconmodules::WriteCraftedModule(self, module)) {
    std::fprintf(stderr, "could not write the crafted files\n");
    return 1;
  }
  std::printf("peak memory before: %.1f MB\n", PeakMegabytes());
  for (const std::string& source : {module, ico}) {
    const double start = bench::Now();
    const int32_t result = Extract(source, folder + "\\out.ico", 1);
    std::printf("%s: %llu bytes, result %d, %.3f s, peak memory %.1f MB\n", source.c_str(),
                static_cast<unsigned long long>(FileSize(source)), static_cast<int>(result), bench::Now() - start,
                PeakMegabytes());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--crafted") return Crafted(argv[2]);
  if (argc < 3) {
    std::fprintf(stderr, "usage: extract_bench MODULE FOLDER\n");
    return 2;
  }
  std::string module = argv[1];
  std::string folder = argv[2];
  CreateDirectoryA(folder.c_str(), nullptr);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);

  // The first call also tells how many groups there are.
  int32_t groups = Extract(module, folder + "\\icon-1.ico", 1);
  int32_t written = groups > 0 ? 1 : 0;
  int32_t failed = groups > 0 ? 0 : 1;
  for (int32_t n = 2; n <= groups; ++n) {
    if (Extract(module, folder + "\\icon-" + std::to_string(n) + ".ico", n) == groups) {
      ++written;
    } else {
      ++failed;
    }
  }
  QueryPerformanceCounter(&end);
  uint64_t bytes = 0;
  for (int32_t n = 1; n <= groups; ++n) bytes += FileSize(folder + "\\icon-" + std::to_string(n) + ".ico");
  double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  std::printf("module: %s\ngroups: %d\nfiles written: %d\nfailed: %d\nbytes written: %llu\nseconds: %.3f\n",
              module.c_str(), static_cast<int>(groups), static_cast<int>(written), static_cast<int>(failed),
              static_cast<unsigned long long>(bytes), seconds);
  if (seconds > 0) std::printf("groups per second: %.1f\n", groups / seconds);
  return groups > 0 && failed == 0 ? 0 : 1;
}
