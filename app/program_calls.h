// How the application's routines reach the runtime: every call goes through the
// ServiceTable with ArgRecords, and every block handed back is owned by the caller,
// who releases it with FreeMemory.  These inline helpers only make that readable; the
// small routines on texts, arrays and numbers are the runtime's inline ones
// (runtime/program_helpers.h), whose blocks come from the same heap.
#pragma once
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "app/app_ids.h"
#include "app/constant_block.h"
#include "runtime/dll_binding.h"
#include "runtime/heap.h"
#include "runtime/program_helpers.h"
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

using rt::PointerOf;
using rt::Word;
using rt::ArrayElementCount;
using rt::ArrayItem;
using rt::ConcatTexts;
using rt::FreeTextArray;
using rt::IsEmptyText;
using rt::TextsEqual;
using rt::TruncateToInt;

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

// Memory for a value that program code hands to the runtime, from the service table.
inline void* ProgramMemory(size_t size) { return Svc().allocMemory(static_cast<int32_t>(size)); }

// The inline copy made on assignment: null stays null, an empty text becomes a
// one-byte block.
inline char* CopyText(const char* s) {
  if (!s) return nullptr;
  return rt::NewTextIn(ProgramMemory, s, std::strlen(s));
}
// variable := copy of s (the old block released).
inline void AssignText(char** variable, const char* s) {
  char* copy = CopyText(s);
  Free(*variable);
  *variable = copy;
}
// A copy of a byte set (null, the empty one, stays null).
inline void* CopyByteSet(const void* set) {
  if (!set) return nullptr;
  const rt::ByteSetHeader* header = static_cast<const rt::ByteSetHeader*>(set);
  return rt::NewByteSetIn(ProgramMemory, header + 1, static_cast<size_t>(header->length));
}

// ToText of an integer or a double, as a new text.
inline char* NumberText(int32_t v) { return TextResult(Kernel(&rt::ToText, {Int(v)})); }
inline char* NumberText(double v) { return TextResult(Kernel(&rt::ToText, {rt::DoubleArg(v)})); }

}  // namespace app
