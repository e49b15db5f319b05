// Property values as they cross between the runtime and a component (PropertyData):
// numbers in the first word; texts and byte sets as the address of the first byte in
// it, a byte set's length in the second.  Handed-out addresses stay the component's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
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

// The stored field behind one property, which hands it out as the field holds it:
// numbers and logicals (1 or 0) in the first word, texts and byte sets as PutText and
// PutBytes give them.  Empty (std::monostate) for a property computed otherwise.
template <class Data>
using StoredField = std::variant<std::monostate, int32_t Data::*, uint32_t Data::*, bool Data::*,
                                 std::string Data::*, std::vector<uint8_t> Data::*>;
inline void PutField(rt::PropertyData* d, int32_t v) { PutInt(d, v); }
inline void PutField(rt::PropertyData* d, uint32_t v) { PutInt(d, static_cast<int32_t>(v)); }
inline void PutField(rt::PropertyData* d, bool v) { PutInt(d, v ? 1 : 0); }
inline void PutField(rt::PropertyData* d, const std::string& s) { PutText(d, s); }
inline void PutField(rt::PropertyData* d, const std::vector<uint8_t>& b) { PutBytes(d, b); }
// Puts a property from its stored field; false for a property without one.
template <class Data>
bool PutStoredField(const Data& data, const StoredField<Data>& field, rt::PropertyData* d) {
  return std::visit(
      [&](auto member) {
        if constexpr (std::is_same_v<decltype(member), std::monostate>) {
          return false;
        } else {
          PutField(d, data.*member);
          return true;
        }
      },
      field);
}

}  // namespace comp
