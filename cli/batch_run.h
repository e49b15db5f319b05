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
  size_t withIcons = 0;  // files that hold icon groups
  size_t written = 0;    // icon or PNG files written, or groups listed
  size_t skipped = 0;    // files found by a walk that hold no icons
  size_t failed = 0;     // failed files and icons, each named on the error stream
};

struct BatchSettings {
  unsigned jobs = 1;
  bool progress = false;  // show files done of total and icons written on err
};

// Handles each source as `options` say.  List lines go to out; failures (and with
// -v the skipped files) to err.
BatchTotals RunBatch(const std::vector<Source>& plan, const Options& options, const BatchSettings& settings,
                     std::FILE* out, std::FILE* err);

}  // namespace cli
