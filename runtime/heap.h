// The runtime heap: every text, byte set and array that crosses the service table
// comes from here, and the receiver releases it with FreeMemory.
#pragma once
#include <cstddef>
#include <cstdint>

namespace rt {

// Never returns null: exhaustion is a fatal run-time error ("分配 %d 字节内存失败!").
void* AllocMemory(int32_t size);
// Null: as AllocMemory.  Inside a StaticRange: a new block holding min(size, end - p)
// bytes of the constant.  Otherwise resized in place or moved.
void* ReallocMemory(void* p, int32_t size);
// Ignores null and pointers inside a StaticRange.
void FreeMemory(void* p);
// Plain allocation that may return null (RuntimeService 2024 with a non-zero flag).
void* TryAllocMemory(int32_t size);

// [start, end) ranges of program constants that FreeMemory never releases.
void AddStaticRange(const void* start, size_t length);
void ClearStaticRanges();
bool InStaticRange(const void* p, const uint8_t** rangeEnd = nullptr);

// Blocks built by the runtime for program code.
char* NewText(const char* s);                      // null for null or empty
char* NewText(const char* s, size_t n);            // null for n == 0
void* NewByteSet(const void* bytes, size_t n);     // null for n == 0
void* NewIntArray(const int32_t* values, size_t n);  // {1, n, values...}
void* NewTextArray(char* const* texts, size_t n);    // takes ownership of the texts

// Reads of blocks.
inline int32_t ByteSetLength(const void* set) {
  return set ? static_cast<const int32_t*>(set)[1] : 0;
}
inline const uint8_t* ByteSetBytes(const void* set) {
  return set ? static_cast<const uint8_t*>(set) + 8 : nullptr;
}
// Product of the dimension sizes of an array block.
int32_t ArrayElementCount(const void* array);
// Address of element i (0-based) of a one-dimensional array of 32-bit elements.
inline uint32_t* ArrayElements(void* array) {
  const int32_t* a = static_cast<const int32_t*>(array);
  return reinterpret_cast<uint32_t*>(const_cast<int32_t*>(a + 1 + a[0]));
}
// Releases an array of texts element by element, then the block.
void FreeTextArray(void* array);

}  // namespace rt
