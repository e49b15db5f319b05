// Runs the planned sources on worker threads and prints their results in plan order,
// so that what is printed and written does not depend on the number of threads.
#pragma once
#include <cstddef>
#include <cstdio>
#include <vector>

#include "cli/options.h"
#include "cli/source_plan.h"

namespace cli {

struct BatchTotals {
  size_t files = 0;
  size_t written = 0;  // icon or PNG files written, or groups listed
  size_t failed = 0;   // failed files and icons, each named on the error stream
};

// List lines go to out, failures to err; progress (files done of total, icons
// written) is shown on err when `progress` is set.
BatchTotals RunBatch(const std::vector<Source>& plan, const Options& options, unsigned jobs, std::FILE* out,
                     std::FILE* err, bool progress);

}  // namespace cli
