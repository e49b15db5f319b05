#include "cli/progress_line.h"

namespace cli {

void ProgressLine::Update(const std::string& text) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shown_ > 0 && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  std::string line = "\r" + text;
  if (text.size() < shown_) line += std::string(shown_ - text.size(), ' ') + "\r" + text;
  std::fputs(line.c_str(), terminal_);
  std::fflush(terminal_);
  shown_ = text.size();
}

void ProgressLine::Clear() {
  if (!enabled_ || shown_ == 0) return;
  std::fputs(("\r" + std::string(shown_, ' ') + "\r").c_str(), terminal_);
  std::fflush(terminal_);
  shown_ = 0;
}

}  // namespace cli
