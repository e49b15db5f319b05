// A one-line progress display on a terminal, redrawn in place with a carriage return.
// Lines printed meanwhile clear it first, so they never mix with it.
#pragma once
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace cli {

class ProgressLine {
 public:
  ProgressLine(std::FILE* terminal, bool enabled) : terminal_(terminal), enabled_(enabled) {}
  // Shows text unless the last update was less than a tenth of a second ago.
  void Update(const std::string& text);
  // Removes the line (before other output, and at the end).
  void Clear();

 private:
  std::FILE* terminal_;
  bool enabled_;
  size_t shown_ = 0;  // characters on the line now
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace cli
