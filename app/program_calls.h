// How the application's routines reach the runtime: every call goes through the
// ServiceTable with ArgRecords, and every block handed back is owned by the caller,
// who releases it with FreeMemory.  These inline helpers only make that readable.
#pragma once
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "app/app_ids.h"
#include "app/constant_block.h"
#include "runtime/dll_binding.h"
#include "runtime/service_table.h"
#include "runtime/text_commands.h"
#include "runtime/values.h"

namespace app {

inline const rt::ServiceTable& Svc() { return rt::Services(); }
inline void Free(void* p) { Svc().freeMemory(p); }

// Owns one runtime block (text, byte set or array) and frees it with FreeMemory.
template <typename T>
class Owned {
 public:
  Owned() = default;
  explicit Owned(T* p) : p_(p) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Free(p_); }
  T* get() const { return p_; }
  T** slot() { return &p_; }  // a variable passed by reference
  void reset(T* p = nullptr) {
    if (p_ != p) Free(p_);
    p_ = p;
  }
  T* release() { return std::exchange(p_, nullptr); }

 private:
  T* p_ = nullptr;
};
using OwnedText = Owned<char>;
using OwnedBlock = Owned<void>;

inline uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
template <typename T>
inline T* PointerOf(uint32_t w) { return reinterpret_cast<T*>(static_cast<uintptr_t>(w)); }

// Text argument: a null text travels as the constant empty text, so commands always
// receive a readable text.
inline rt::ArgRecord Text(const char* s) { return rt::TextArg(s ? s : Constants().empty); }
inline rt::ArgRecord Int(int32_t v) { return rt::IntArg(v); }
inline rt::ArgRecord Omitted() { return rt::OmittedArg(); }
// A component of the main window.
inline rt::ArgRecord Component(uint32_t id, uint32_t type) { return rt::ArgRecord{kMainWindow, id, type}; }

namespace detail {
inline rt::ResultRecord Call(bool kernel, rt::CommandFunction f, std::initializer_list<rt::ArgRecord> args) {
  rt::ArgRecord records[12] = {};
  int32_t n = 0;
  for (const rt::ArgRecord& a : args) records[n++] = a;
  rt::ResultRecord r = {0, 0, 0};
  (kernel ? Svc().callKernelCommand : Svc().callLibraryCommand)(f, n, records, &r);
  return r;
}
}  // namespace detail

inline rt::ResultRecord Kernel(rt::CommandFunction f, std::initializer_list<rt::ArgRecord> args = {}) {
  return detail::Call(true, f, args);
}
inline rt::ResultRecord Library(rt::CommandFunction f, std::initializer_list<rt::ArgRecord> args = {}) {
  return detail::Call(false, f, args);
}
inline char* TextResult(const rt::ResultRecord& r) { return PointerOf<char>(r.value); }
inline int32_t IntResult(const rt::ResultRecord& r) { return static_cast<int32_t>(r.value); }

// DLL commands by number (declared in the program header).
template <typename... A>
inline uint32_t Dll(DllCommand k, A... args) {
  return rt::CallDll(k, args...);
}

// Properties of the main window's components, always the whole value (member -1).
inline uint32_t GetProperty(uint32_t component, int32_t property) {
  return Svc().getComponentProperty(kMainWindow, component, property, kWholeValue);
}
inline void SetProperty(uint32_t component, int32_t property, uint32_t value, uint32_t high = 0) {
  Svc().setComponentProperty(kMainWindow, component, property, kWholeValue, value, high);
}
inline void SetTextProperty(uint32_t component, int32_t property, const char* text) {
  SetProperty(component, property, Word(text));
}

// The inline copy made on assignment: null stays null, an empty text becomes a
// one-byte block.
inline char* CopyText(const char* s) {
  if (!s) return nullptr;
  const size_t n = std::strlen(s) + 1;
  char* copy = static_cast<char*>(Svc().allocMemory(static_cast<int32_t>(n)));
  std::memcpy(copy, s, n);
  return copy;
}
// variable := copy of s (the old block released).
inline void AssignText(char** variable, const char* s) {
  char* copy = CopyText(s);
  Free(*variable);
  *variable = copy;
}
inline void* CopyByteSet(const void* set) {
  if (!set) return nullptr;
  const int32_t n = static_cast<const int32_t*>(set)[1] + 8;
  void* copy = Svc().allocMemory(n);
  std::memcpy(copy, set, static_cast<size_t>(n));
  return copy;
}

// ConcatTexts: one new block of the summed length plus one.
inline char* ConcatTexts(std::initializer_list<const char*> texts) {
  size_t total = 0;
  for (const char* t : texts) total += t ? std::strlen(t) : 0;
  char* joined = static_cast<char*>(Svc().allocMemory(static_cast<int32_t>(total + 1)));
  char* out = joined;
  for (const char* t : texts) {
    if (!t) continue;
    const size_t n = std::strlen(t);
    std::memcpy(out, t, n);
    out += n;
  }
  *out = 0;
  return joined;
}

// Conversion of a double to an integer by truncation toward zero (NaN and values
// beyond the integer range give 0 and the range's ends).
inline int32_t TruncateToInt(double d) {
  if (d != d) return 0;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(d);
}

inline bool TextsEqual(const char* a, const char* b) { return std::strcmp(a ? a : "", b ? b : "") == 0; }
inline bool IsEmptyText(const char* s) { return !s || !*s; }

// Element count of an array block (product of its dimension sizes).
inline int32_t ArrayCount(const void* array) {
  if (!array) return 0;
  const int32_t* a = static_cast<const int32_t*>(array);
  int32_t count = 1;
  for (int32_t d = 0; d < a[0]; ++d) count *= a[1 + d];
  return count;
}
// Element i (1-based) of a one-dimensional array of 32-bit elements; out of range
// raises run-time error 4 (below 1) or 1 (above the count).
inline uint32_t ArrayItem(const void* array, int32_t i) {
  if (i < 1) {
    Svc().raiseRuntimeError(4);
    return 0;
  }
  if (i > ArrayCount(array)) {
    Svc().raiseRuntimeError(1);
    return 0;
  }
  const int32_t* a = static_cast<const int32_t*>(array);
  return static_cast<uint32_t>(a[1 + a[0] + i - 1]);
}
// Releases an array of texts: each element, then the block.
inline void FreeTextArray(void* array) {
  const int32_t n = ArrayCount(array);
  for (int32_t i = 1; i <= n; ++i) Free(PointerOf<char>(ArrayItem(array, i)));
  Free(array);
}

// ToText of an integer or a double, as a new text.
inline char* NumberText(int32_t v) { return TextResult(Kernel(&rt::ToText, {Int(v)})); }
inline char* NumberText(double v) { return TextResult(Kernel(&rt::ToText, {rt::DoubleArg(v)})); }

}  // namespace app
