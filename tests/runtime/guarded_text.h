// A text placed at the very end of a committed page, followed by an inaccessible page:
// reading one byte past its terminating NUL faults.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

namespace rt_test {

class GuardedText {
 public:
  explicit GuardedText(const std::string& text) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    size_t page = info.dwPageSize;
    base_ = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base_) return;
    DWORD old;
    if (!VirtualProtect(base_ + page, page, PAGE_NOACCESS, &old)) return;
    text_ = base_ + page - (text.size() + 1);
    std::memcpy(text_, text.c_str(), text.size() + 1);
  }
  ~GuardedText() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
  }
  GuardedText(const GuardedText&) = delete;
  GuardedText& operator=(const GuardedText&) = delete;

  // Null when the pages could not be set up.
  const char* get() const { return text_; }

 private:
  char* base_ = nullptr;
  char* text_ = nullptr;
};

}  // namespace rt_test
