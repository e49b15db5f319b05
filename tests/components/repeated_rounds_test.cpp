// Loading a module's icons into the list and extracting its icon groups, round after
// round, leaves the process's handles, GDI and USER objects and memory where the
// first round left them (the first round fills the module cache).  Memory may grow by
// 1 MiB of heap fragmentation.  Under Wine the handle and object counts of the
// platform and PrivateUsage read 0; the handles counted one by one and PagefileUsage
// still hold there.  bench/repeat_bench.cpp prints the figures of a longer run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "repeated_rounds.h"

namespace {

TEST(RepeatedRounds, LoadsAndExtractionsLeaveNothingBehind) {
  char system[MAX_PATH] = {}, temp[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  rounds::Rounds job(std::string(system) + "\\shell32.dll",
                     std::string(temp) + "repeated_rounds_" + std::to_string(GetCurrentProcessId()));
  ASSERT_TRUE(job.ready());
  constexpr int32_t kGroups = 20;
  rounds::Levels first;
  for (int r = 1; r <= 5; ++r) {
    SCOPED_TRACE("round " + std::to_string(r));
    const int32_t images = job.LoadIcons();
    ASSERT_GT(images, kGroups);
    ASSERT_EQ(job.itemCount(), images);
    ASSERT_EQ(job.ExtractGroups(kGroups), kGroups);
    ASSERT_EQ(job.FilesInFolder(), kGroups);
    if (r == 1) first = rounds::Measure();
  }
  const rounds::Levels last = rounds::Measure();
  rounds::Print(1, first);
  rounds::Print(5, last);
  EXPECT_EQ(rounds::Growth(first, last, 1 << 20), "");
  EXPECT_GT(last.countedHandles, 0u);
}

}  // namespace
