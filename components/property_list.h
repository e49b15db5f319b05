// A component type's own properties, written once.  A type lists them in one macro
// LIST(X, C), in property order (the type's property 8 first):
//   X(name, kind, member)  a property stored in the record's member, which GetProperty
//                          hands out as it is stored;
//   C(name, kind)          one that the component works out itself;
// where name is the enumerator after its P prefix (PCaption for Caption) and kind an
// rt::PropertyKind, which takes the list's flag word, or a whole rt::PropertyInfo.
// Inside the component's class, COMP_PROPERTIES(Record, flags, LIST) turns the list into
//   enum PropertyIndex { P<name>..., PCount };  the own properties' indexes;
//   kProperties[PCount];  one OwnPropertyEntry per property,
// from which PropertyTable builds the type's property table and PutStoredField hands
// out the stored fields.  The compiler checks every member against its property's kind.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "components/property_data.h"
#include "runtime/program_image.h"

namespace comp {

// Property flag words: 0xE000 on the eight common properties, 0x8000 on a type's own
// (the ListView's own carry 0, 1 or 4).  The runtime does not consult them.
constexpr uint16_t kCommonPropertyFlags = 0xE000;
constexpr uint16_t kOwnPropertyFlags = 0x8000;

constexpr rt::PropertyInfo Property(rt::PropertyKind kind, uint16_t flags = kOwnPropertyFlags) {
  return {nullptr, nullptr, nullptr, kind, flags, nullptr};
}
constexpr rt::PropertyInfo OwnProperty(rt::PropertyKind kind, uint16_t flags) { return Property(kind, flags); }
constexpr rt::PropertyInfo OwnProperty(const rt::PropertyInfo& info, uint16_t) { return info; }

// One of a type's own properties: its table entry and its stored field.
template <class Data>
struct OwnPropertyEntry {
  rt::PropertyInfo info;
  StoredField<Data> field;
};

// The field of a property that has none.
inline constexpr std::monostate NoField{};

// Whether the field can hold the values of the property's kind: numbers in int32_t or
// uint32_t, logicals also in bool, texts in std::string, pictures, fonts and other
// byte data in bytes.
template <class Data>
constexpr bool FieldFitsKind(const OwnPropertyEntry<Data>& e) {
  const StoredField<Data>& f = e.field;
  if (std::holds_alternative<std::monostate>(f)) return true;
  const bool number = std::holds_alternative<int32_t Data::*>(f) || std::holds_alternative<uint32_t Data::*>(f);
  switch (e.info.kind) {
    case rt::KindInteger: case rt::KindInteger2: case rt::KindChoice:
    case rt::KindTextColor: case rt::KindColor: case rt::KindBackColor:
      return number;
    case rt::KindLogical:
      return number || std::holds_alternative<bool Data::*>(f);
    case rt::KindDouble: case rt::KindDateTime:
      return false;
    case rt::KindPicture: case rt::KindIcon: case rt::KindCursor: case rt::KindSound: case rt::KindFont:
    case rt::KindImageList: case rt::KindCustomData:
      return std::holds_alternative<std::vector<uint8_t> Data::*>(f);
    default:  // the text kinds
      return std::holds_alternative<std::string Data::*>(f);
  }
}
template <class Data, size_t N>
constexpr bool FieldsFitKinds(const OwnPropertyEntry<Data> (&own)[N]) {
  for (const OwnPropertyEntry<Data>& e : own)
    if (!FieldFitsKind(e)) return false;
  return true;
}

// A type's property table: the common properties (left, top, width, height, tag,
// visible, disabled, mouse pointer), then the type's own.
template <class Data, size_t N>
constexpr std::array<rt::PropertyInfo, 8 + N> PropertyTable(const OwnPropertyEntry<Data> (&own)[N]) {
  constexpr uint16_t c = kCommonPropertyFlags;
  std::array<rt::PropertyInfo, 8 + N> table = {
      {Property(rt::KindInteger, c), Property(rt::KindInteger, c), Property(rt::KindInteger, c),
       Property(rt::KindInteger, c), Property(rt::KindText, c), Property(rt::KindLogical, c),
       Property(rt::KindLogical, c), Property(rt::KindCursor, c)}};
  for (size_t i = 0; i < N; ++i) table[8 + i] = own[i].info;
  return table;
}

// Puts own property `index` from its stored field; false for an index out of range or
// a property without a field.
template <class Data, size_t N>
bool PutStoredField(const Data& data, const OwnPropertyEntry<Data> (&own)[N], int32_t index, rt::PropertyData* d) {
  if (index < 0 || static_cast<size_t>(index) >= N) return false;
  return PutStoredField(data, own[index].field, d);
}

}  // namespace comp

#define COMP_PROPERTY_ENUMERATOR(name, ...) P##name,
#define COMP_PROPERTY_STORED(name, kind, member) \
  {::comp::OwnProperty(kind, kPropertyFlags), &PropertyRecord::member},
#define COMP_PROPERTY_COMPUTED(name, kind) {::comp::OwnProperty(kind, kPropertyFlags), ::comp::NoField},
#define COMP_PROPERTIES(Record, flags, LIST)                                                             \
  using PropertyRecord = Record;                                                                         \
  static constexpr uint16_t kPropertyFlags = flags;                                                      \
  enum PropertyIndex : int32_t { LIST(COMP_PROPERTY_ENUMERATOR, COMP_PROPERTY_ENUMERATOR) PCount };      \
  static constexpr ::comp::OwnPropertyEntry<Record> kProperties[] = {                                    \
      LIST(COMP_PROPERTY_STORED, COMP_PROPERTY_COMPUTED)};                                               \
  static_assert(::comp::FieldsFitKinds(kProperties), "every stored member holds its property's kind")
