// Extracts every icon group of a module into a folder, one ExtractFileIcon call per
// group exactly as the application does, and prints the group count, the files and
// bytes written, the failures and the seconds taken.
//   extract_bench.exe MODULE FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "iconres/extract_file_icon.h"
#include "runtime/values.h"

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

}  // namespace

int main(int argc, char** argv) {
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
