#include "runtime/heap.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/values.h"

namespace rt {
namespace {

struct StaticRange {
  const uint8_t* start;
  const uint8_t* end;
};
std::vector<StaticRange>& Ranges() {
  static std::vector<StaticRange> ranges;
  return ranges;
}

[[noreturn]] void OutOfMemory(int32_t size) {
  char text[100];
  wsprintfA(text, "分配 %d 字节内存失败!", size);
  ReportRuntimeError(text, 0);
}

}  // namespace

void AddStaticRange(const void* start, size_t length) {
  const uint8_t* s = static_cast<const uint8_t*>(start);
  Ranges().push_back({s, s + length});
}

void ClearStaticRanges() { Ranges().clear(); }

bool InStaticRange(const void* p, const uint8_t** rangeEnd) {
  const uint8_t* b = static_cast<const uint8_t*>(p);
  for (const StaticRange& r : Ranges()) {
    if (b >= r.start && b < r.end) {
      if (rangeEnd) *rangeEnd = r.end;
      return true;
    }
  }
  return false;
}

void* TryAllocMemory(int32_t size) {
  if (size < 0) return nullptr;
  return HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
}

void* AllocMemory(int32_t size) {
  void* p = TryAllocMemory(size);
  if (!p) OutOfMemory(size);
  return p;
}

void FreeMemory(void* p) {
  if (!p || InStaticRange(p)) return;
  HeapFree(GetProcessHeap(), 0, p);
}

void* ReallocMemory(void* p, int32_t size) {
  if (!p) return AllocMemory(size);
  const uint8_t* end = nullptr;
  if (InStaticRange(p, &end)) {
    void* copy = AllocMemory(size);
    size_t available = static_cast<size_t>(end - static_cast<const uint8_t*>(p));
    size_t n = size < 0 ? 0 : static_cast<size_t>(size);
    std::memcpy(copy, p, n < available ? n : available);
    return copy;
  }
  void* q = size < 0 ? nullptr : HeapReAlloc(GetProcessHeap(), 0, p, size ? size : 1);
  if (!q) OutOfMemory(size);
  return q;
}

char* NewText(const char* s) { return s ? NewText(s, std::strlen(s)) : nullptr; }

// AllocMemory for the makers of values (NewTextIn, NewByteSetIn, NewIntArrayIn).
static void* HeapBlock(size_t size) { return AllocMemory(static_cast<int32_t>(size)); }

char* NewText(const char* s, size_t n) {
  if (!s || n == 0) return nullptr;
  return NewTextIn(HeapBlock, s, n);
}

void* NewByteSet(const void* bytes, size_t n) {
  return NewByteSetIn(HeapBlock, bytes, n);
}

void* NewIntArray(const int32_t* values, size_t n) {
  return NewIntArrayIn(HeapBlock, values, n);
}

void* NewTextArray(char* const* texts, size_t n) {
  int32_t* a = static_cast<int32_t*>(AllocMemory(static_cast<int32_t>(8 + 4 * n)));
  a[0] = 1;
  a[1] = static_cast<int32_t>(n);
  for (size_t i = 0; i < n; ++i) a[2 + i] = static_cast<int32_t>(Word(texts[i]));
  return a;
}

int32_t ArrayElementCount(const void* array) {
  if (!array) return 0;
  const int32_t* a = static_cast<const int32_t*>(array);
  int32_t count = 1;
  for (int32_t d = 0; d < a[0]; ++d) count *= a[1 + d];
  return a[0] > 0 ? count : 0;
}

void FreeTextArray(void* array) {
  if (!array) return;
  int32_t n = ArrayElementCount(array);
  uint32_t* e = ArrayElements(array);
  for (int32_t i = 0; i < n; ++i) FreeMemory(PointerOf(e[i]));
  FreeMemory(array);
}

}  // namespace rt
