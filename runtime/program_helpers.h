// Small routines that program code uses inline on texts, arrays and numbers.  Blocks
// they make come from the runtime heap and are the caller's.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/values.h"

namespace rt {

// Byte-wise comparison of unsigned bytes; null compares equal to the empty text.
inline int32_t CompareTexts(const char* a, const char* b) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
  const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
  while (*p && *p == *q) ++p, ++q;
  return static_cast<int32_t>(*p) - static_cast<int32_t>(*q);
}
inline bool TextsEqual(const char* a, const char* b) { return CompareTexts(a, b) == 0; }
inline bool IsEmptyText(const char* s) { return !s || !*s; }

// Length in bytes; 0 for null.
inline int32_t TextLength(const char* s) { return s ? static_cast<int32_t>(std::strlen(s)) : 0; }

// One new block holding the texts one after another (null counts as empty): the summed
// length plus one byte, owned by the caller.
inline char* ConcatTexts(const char* const* texts, int32_t n) {
  size_t total = 0;
  for (int32_t i = 0; i < n; ++i) total += texts[i] ? std::strlen(texts[i]) : 0;
  char* joined = static_cast<char*>(AllocMemory(static_cast<int32_t>(total + 1)));
  char* out = joined;
  for (int32_t i = 0; i < n; ++i) {
    if (!texts[i]) continue;
    size_t length = std::strlen(texts[i]);
    std::memcpy(out, texts[i], length);
    out += length;
  }
  *out = 0;
  return joined;
}
inline char* ConcatTexts(std::initializer_list<const char*> texts) {
  return ConcatTexts(texts.begin(), static_cast<int32_t>(texts.size()));
}

// Truncation toward zero.  Values beyond the integer range give its nearest end and
// NaN gives 0, where a plain conversion would be undefined.
inline int32_t TruncateToInt(double d) {
  if (std::isnan(d)) return 0;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(d);
}

// Element i (1-based) of a one-dimensional array of 32-bit elements: below 1 raises
// run-time error 4, above the element count error 1.
inline uint32_t& ArrayItem(void* array, int32_t i) {
  if (i < 1) RaiseRuntimeError(4);
  if (i > ArrayElementCount(array)) RaiseRuntimeError(1);
  int32_t* a = static_cast<int32_t*>(array);
  return reinterpret_cast<uint32_t*>(a + 1 + a[0])[i - 1];
}
// A text element of an array of texts (borrowed from the array).
inline const char* TextItem(void* array, int32_t i) {
  return PointerOf<const char>(ArrayItem(array, i));
}

}  // namespace rt
