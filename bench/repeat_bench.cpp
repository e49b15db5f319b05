// Loads a module's icons into a list view and extracts 20 of its icon groups to .ico
// files, round after round, the way the application does both, and prints the
// process's handle, GDI and USER object counts and committed bytes after each round.
// Exits with 1 when a figure after the last round is above its level after round 1:
// handles and objects by any amount, memory by more than 1 MiB (heap fragmentation).
//   repeat_bench.exe [ROUNDS [MODULE]]    (50 rounds over the system folder's shell32.dll)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/repeated_rounds.h"

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
  char system[MAX_PATH] = {}, temp[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  const std::string module = argc > 2 ? argv[2] : std::string(system) + "\\shell32.dll";
  const std::string folder = std::string(temp) + "repeat_bench_" + std::to_string(GetCurrentProcessId());
  constexpr int32_t kGroups = 20;
  constexpr SIZE_T kMemorySlack = 1 << 20;
  if (rounds < 1) {
    std::printf("usage: repeat_bench [ROUNDS [MODULE]]\n");
    return 2;
  }
  rounds::Rounds job(module, folder);
  if (!job.ready()) {
    std::printf("no list view\n");
    return 1;
  }
  std::printf("module %s, %d rounds, %d groups extracted per round, memory slack %lu bytes\n", module.c_str(),
              rounds, kGroups, static_cast<unsigned long>(kMemorySlack));
  rounds::Levels first, last;
  bool failed = false;
  const double start = GetTickCount();
  for (int r = 1; r <= rounds; ++r) {
    const int32_t images = job.LoadIcons();
    const int32_t written = job.ExtractGroups(kGroups);
    if (images <= 0 || job.itemCount() != images || written != kGroups || job.FilesInFolder() != kGroups) {
      std::printf("round %d: %d images, %d items, %d of %d groups extracted, %d files in the folder\n", r, images,
                  job.itemCount(), written, kGroups, job.FilesInFolder());
      failed = true;
    }
    last = rounds::Measure();
    if (r == 1) {
      first = last;
      std::printf("images per load %d\n", images);
    }
    rounds::Print(r, last);
  }
  const std::string growth = rounds::Growth(first, last, kMemorySlack);
  std::printf("seconds %.1f\n", (GetTickCount() - start) / 1000.0);
  if (!growth.empty()) std::printf("growth after round %d: %s\n", rounds, growth.c_str());
  OleUninitialize();
  return failed || !growth.empty() ? 1 : 0;
}
