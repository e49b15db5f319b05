#include "cli/batch_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/icon_export.h"
#include "cli/progress_line.h"

namespace cli {
namespace {

// Reports of finished files, kept until every file before them is printed.
class ReportQueue {
 public:
  explicit ReportQueue(size_t count) : reports_(count) {}

  void Put(size_t index, FileReport report) {
    std::lock_guard<std::mutex> hold(lock_);
    written_ += report.written;
    ++done_;
    reports_[index] = std::move(report);
    ready_.notify_one();
  }
  // The report at index once it is there; nothing when a tenth of a second passes first.
  std::optional<FileReport> Take(size_t index, size_t* done, size_t* written) {
    std::unique_lock<std::mutex> hold(lock_);
    ready_.wait_for(hold, std::chrono::milliseconds(100), [&] { return reports_[index].has_value(); });
    *done = done_;
    *written = written_;
    std::optional<FileReport> report;
    report.swap(reports_[index]);
    return report;
  }

 private:
  std::mutex lock_;
  std::condition_variable ready_;
  std::vector<std::optional<FileReport>> reports_;
  size_t done_ = 0;
  size_t written_ = 0;
};

}  // namespace

BatchTotals RunBatch(const std::vector<Source>& plan, const Options& options, const BatchSettings& settings,
                     std::FILE* out, std::FILE* err) {
  ReportQueue queue(plan.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < plan.size();) queue.Put(i, ExportFile(plan[i], options));
  };
  const size_t wanted = std::min<size_t>(settings.jobs, plan.size());
  std::vector<std::thread> workers;
  workers.reserve(wanted);
  for (size_t n = 0; n < wanted; ++n) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // fewer threads; with none at all, the loop below does the work
    }
  }

  BatchTotals totals;
  totals.files = plan.size();
  ProgressLine line(err, settings.progress);
  for (size_t printed = 0; printed < plan.size();) {
    if (workers.empty()) queue.Put(printed, ExportFile(plan[printed], options));
    size_t done = 0, written = 0;
    std::optional<FileReport> report = queue.Take(printed, &done, &written);
    line.Update(std::to_string(done) + " of " + std::to_string(plan.size()) + " files, " + std::to_string(written) +
                " " + OutputNoun(options));
    if (!report) continue;
    const bool showSkipped = options.verbose && !report->skipped.empty();
    if (!report->listLines.empty() || !report->failures.empty() || showSkipped) line.Clear();
    for (const std::string& l : report->listLines) std::fprintf(out, "%s\n", l.c_str());
    std::fflush(out);
    if (showSkipped) std::fprintf(err, "%s\n", report->skipped.c_str());
    for (const std::string& f : report->failures) std::fprintf(err, "%s\n", f.c_str());
    totals.withIcons += report->hasIcons ? 1 : 0;
    totals.written += report->written;
    totals.skipped += report->skipped.empty() ? 0 : 1;
    totals.failed += report->failures.size();
    ++printed;
  }
  for (std::thread& t : workers) t.join();
  line.Clear();
  return totals;
}

}  // namespace cli
