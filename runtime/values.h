// Value records and memory blocks shared between program code and the runtime.
// Every layout here is a 32-bit layout that program code depends on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace rt {

// Type tags of ArgRecord/ResultRecord word 2.
enum TypeTag : uint32_t {
  TagOmitted = 0,
  TagByte = 0x80000101,
  TagShort = 0x80000201,
  TagInt = 0x80000301,
  TagLong = 0x80000401,
  TagFloat = 0x80000501,
  TagDouble = 0x80000601,
  TagBool = 0x80000002,
  TagDateTime = 0x80000003,
  TagText = 0x80000004,
  TagBytes = 0x80000005,
};
constexpr uint32_t ArrayFlag = 0x20000000;

// Every command argument and result: value (or low word), high word, type tag.
struct ArgRecord {
  uint32_t value;
  uint32_t high;
  uint32_t tag;
};
using ResultRecord = ArgRecord;
static_assert(sizeof(ArgRecord) == 12, "ArgRecord is three 32-bit words");
static_assert(offsetof(ArgRecord, value) == 0 && offsetof(ArgRecord, high) == 4 &&
              offsetof(ArgRecord, tag) == 8, "ArgRecord word order");

// A component named in a command argument: value = window id, high = component id,
// tag = component type id.
using ComponentRef = ArgRecord;

// Uniform signature of every kernel and library command.  The result record arrives
// zero-filled; args points at argc consecutive records (tag 0 = omitted).
using CommandFunction = void(__cdecl*)(ResultRecord* result, int32_t argc, ArgRecord* args);

// Byte-set block: mark (always 1), length, bytes.  Null is the empty byte set.
struct ByteSetHeader {
  int32_t mark;
  int32_t length;
};
static_assert(sizeof(ByteSetHeader) == 8, "byte-set header is two words");

// Array block: dimension count d, d sizes, then the elements.
// The empty one-dimensional array is {1, 0}.

// A new text block, the n bytes at s and a NUL, in memory that alloc(size) gives; null
// when it gives none.  The one way a text is made for program code, whichever way the
// block is allocated: the runtime from its heap (NewText), a library through
// RuntimeService (LibraryLink::NewText), program code through the service table.
template <class Alloc>
char* NewTextIn(Alloc&& alloc, const char* s, size_t n) {
  char* t = static_cast<char*>(alloc(n + 1));
  if (!t) return nullptr;
  if (n) std::memcpy(t, s, n);
  t[n] = 0;
  return t;
}

// Marks block (n + 8 bytes at least; null gives null) as a byte set of n bytes, whose
// bytes *bytes then points at.
inline void* ByteSetHeaderIn(void* block, size_t n, uint8_t** bytes) {
  ByteSetHeader* header = static_cast<ByteSetHeader*>(block);
  if (!header) return nullptr;
  header->mark = 1;
  header->length = static_cast<int32_t>(n);
  *bytes = reinterpret_cast<uint8_t*>(header + 1);
  return header;
}

// A new byte set of the n bytes at `bytes`, in memory that alloc(size) gives; null for
// n == 0 (the empty byte set) or when it gives none.  Made this one way, as texts are
// by NewTextIn, whichever side allocates.
template <class Alloc>
void* NewByteSetIn(Alloc&& alloc, const void* bytes, size_t n) {
  if (n == 0) return nullptr;
  uint8_t* space = nullptr;
  void* set = ByteSetHeaderIn(alloc(n + sizeof(ByteSetHeader)), n, &space);
  if (set) std::memcpy(space, bytes, n);
  return set;
}

// A new one-dimensional array {1, n, the n values}, in memory that alloc(size) gives;
// null when it gives none.
template <class Alloc>
int32_t* NewIntArrayIn(Alloc&& alloc, const int32_t* values, size_t n) {
  int32_t* a = static_cast<int32_t*>(alloc((2 + n) * sizeof(int32_t)));
  if (!a) return nullptr;
  a[0] = 1;
  a[1] = static_cast<int32_t>(n);
  if (n) std::memcpy(a + 2, values, n * sizeof(int32_t));
  return a;
}

// A pointer as the 32-bit word that records, services and program code carry, and a
// word back as a pointer.
inline uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
template <typename T = void>
inline T* PointerOf(uint32_t w) { return reinterpret_cast<T*>(static_cast<uintptr_t>(w)); }

inline bool IsOmitted(const ArgRecord& a) { return a.tag == TagOmitted; }

// Text of a text argument; commands always see a readable text.
inline const char* TextOf(const ArgRecord& a) {
  const char* p = PointerOf<const char>(a.value);
  return p ? p : "";
}

// Stores an integer result in a command's result record.
inline void SetIntResult(ResultRecord* result, int32_t v) {
  result->value = static_cast<uint32_t>(v);
  result->high = 0;
  result->tag = TagInt;
}

// Stores a text result (a runtime block, owned by the receiver; null is the empty text).
inline void SetTextResult(ResultRecord* result, char* text) {
  result->value = Word(text);
  result->high = 0;
  result->tag = TagText;
}

inline ArgRecord IntArg(int32_t v) { return ArgRecord{static_cast<uint32_t>(v), 0, TagInt}; }
inline ArgRecord BoolArg(bool v) { return ArgRecord{v ? 1u : 0u, 0, TagBool}; }
inline ArgRecord TextArg(const char* s) {
  return ArgRecord{Word(s), 0, TagText};
}
inline ArgRecord RefArg(void* variable, uint32_t tag) {
  return ArgRecord{Word(variable), 0, tag};
}
inline ArgRecord OmittedArg() { return ArgRecord{0, 0, TagOmitted}; }
inline ArgRecord DoubleArg(double d) {
  uint64_t bits;
  static_assert(sizeof bits == sizeof d, "double is 8 bytes");
  __builtin_memcpy(&bits, &d, 8);
  return ArgRecord{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), TagDouble};
}
inline double DoubleOf(const ArgRecord& a) {
  uint64_t bits = (static_cast<uint64_t>(a.high) << 32) | a.value;
  double d;
  __builtin_memcpy(&d, &bits, 8);
  return d;
}

}  // namespace rt
