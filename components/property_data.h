// Property values as they cross between the runtime and a component (PropertyData):
// numbers in the first word; texts and byte sets as the address of the first byte in
// it, a byte set's length in the second.  Handed-out addresses stay the component's.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/program_image.h"
#include "runtime/values.h"

namespace comp {

// The text a value points at; "" for none.
inline const char* TextOfData(const rt::PropertyData& d) {
  const char* p = rt::PointerOf<const char>(d.value);
  return p ? p : "";
}
// A copy of the bytes a value points at; empty for none or a length that is not positive.
inline std::vector<uint8_t> BytesOfData(const rt::PropertyData& d) {
  const uint8_t* p = rt::PointerOf<const uint8_t>(d.value);
  if (!p || static_cast<int32_t>(d.high) <= 0) return {};
  return std::vector<uint8_t>(p, p + d.high);
}
inline void PutInt(rt::PropertyData* d, int32_t v) {
  d->value = static_cast<uint32_t>(v);
  d->high = 0;
}
inline void PutText(rt::PropertyData* d, const std::string& s) {
  d->value = rt::Word(s.c_str());
  d->high = 0;
}
inline void PutBytes(rt::PropertyData* d, const std::vector<uint8_t>& b) {
  d->value = b.empty() ? 0 : rt::Word(b.data());
  d->high = static_cast<uint32_t>(b.size());
}

}  // namespace comp
