// A library's link to the runtime: the RuntimeService address that the runtime hands
// over with notification 1.  Before that, every call answers 0.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/runtime_service.h"
#include "runtime/values.h"

namespace rt {

class LibraryLink {
 public:
  // The library's LibraryNotify body: keeps the service address on code 1.
  int32_t Notify(int32_t code, int32_t arg1, int32_t /*arg2*/) {
    if (code == 1) {
      service_ = reinterpret_cast<RuntimeServiceFn>(static_cast<uintptr_t>(static_cast<uint32_t>(arg1)));
      return 0;
    }
    return -1;
  }
  int32_t Call(int32_t code, int32_t arg1 = 0, int32_t arg2 = 0) const {
    return service_ ? service_(code, arg1, arg2) : 0;
  }
  bool Linked() const { return service_ != nullptr; }

  void* Alloc(size_t n) const { return Pointer(Call(SvcAlloc, static_cast<int32_t>(n), 0)); }
  void Free(void* p) const { if (p) Call(SvcFree, Word(p), 0); }

  // A new runtime text (null for an empty one), owned by the receiver.
  char* NewText(const char* s, size_t n) const {
    if (!s || n == 0) return nullptr;
    return NewTextIn([this](size_t size) { return Alloc(size); }, s, n);
  }
  char* NewText(const char* s) const { return s ? NewText(s, std::strlen(s)) : nullptr; }
  // A new byte set {1, n, bytes}, null for n == 0.
  void* NewByteSet(const void* bytes, size_t n) const {
    return NewByteSetIn([this](size_t size) { return Alloc(size); }, bytes, n);
  }
  // The byte set grown or shrunk to n bytes for the caller to fill through *bytes; the
  // block may move (the old address is then gone).  Reusing the block spares the
  // first-touch cost of fresh pages when a large value is rewritten over and over.
  void* ResizeByteSet(void* set, size_t n, uint8_t** bytes) const {
    if (n == 0) return nullptr;
    return ByteSetHeaderIn(Pointer(Call(SvcRealloc, Word(set), static_cast<int32_t>(n + 8))), n, bytes);
  }

  // The service's words are signed; these are rt::PointerOf and rt::Word for them.
  static void* Pointer(int32_t v) { return PointerOf(static_cast<uint32_t>(v)); }
  static int32_t Word(const void* p) { return static_cast<int32_t>(rt::Word(p)); }

 private:
  RuntimeServiceFn service_ = nullptr;
};

}  // namespace rt
