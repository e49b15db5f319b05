// One field list per stored record serves both directions of its bytes.  A record names
// its fields once, in stored order, in a template over the direction:
//
//   template <class Record, class Fields> static void Visit(Record& d, Fields& f) {
//     f.i32(d.border, d.width);
//     if (f.version() >= 2) f.countedText(d.dataSource);
//   }
//
// BlobFieldReader fills the fields from bytes, BlobFieldWriter appends them; a writer
// reports the newest version, so it writes every field.  Plain functions over bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "formats/byte_reader.h"

namespace comp {

// Each field function takes one field or a run of fields of its kind, in stored order.
template <class Kind, class... Fields>
constexpr bool kAllOfKind = (std::is_same_v<Kind, Fields> && ...);

class BlobFieldReader {
 public:
  BlobFieldReader(const uint8_t* data, size_t size, int32_t version = 0) : r_(data, size), version_(version) {}
  rt::ByteReader& bytes() { return r_; }
  bool ok() const { return r_.ok(); }
  int32_t version() const { return version_; }
  void setVersion(int32_t version) { version_ = version; }

  template <class... F> void i16(F&... v) { static_assert(kAllOfKind<int16_t, F...>); ((v = r_.i16()), ...); }
  template <class... F> void i32(F&... v) { static_assert(kAllOfKind<int32_t, F...>); ((v = r_.i32()), ...); }
  template <class... F> void u32(F&... v) { static_assert(kAllOfKind<uint32_t, F...>); ((v = r_.u32()), ...); }
  // A word each, non-zero for true.
  template <class... F> void flag(F&... v) { static_assert(kAllOfKind<bool, F...>); ((v = r_.i32() != 0), ...); }
  // A byte each, non-zero for true.
  template <class... F> void byteFlag(F&... v) { static_assert(kAllOfKind<bool, F...>); ((v = r_.u8() != 0), ...); }
  template <class... F> void counted(F&... v) {
    static_assert(kAllOfKind<std::vector<uint8_t>, F...>);
    ((v = r_.counted()), ...);
  }
  template <class... F> void countedText(F&... v) {
    static_assert(kAllOfKind<std::string, F...>);
    ((v = r_.countedText()), ...);
  }
  template <class... F> void zeroText(F&... v) {
    static_assert(kAllOfKind<std::string, F...>);
    ((v = r_.zeroText()), ...);
  }

 private:
  rt::ByteReader r_;
  int32_t version_;
};

class BlobFieldWriter {
 public:
  explicit BlobFieldWriter(int32_t version = 0) : version_(version) {}
  int32_t version() const { return version_; }
  std::vector<uint8_t> take() { return a_.take(); }

  template <class... F> void i16(const F&... v) { static_assert(kAllOfKind<int16_t, F...>); (a_.i16(v), ...); }
  template <class... F> void i32(const F&... v) { static_assert(kAllOfKind<int32_t, F...>); (a_.i32(v), ...); }
  template <class... F> void u32(const F&... v) { static_assert(kAllOfKind<uint32_t, F...>); (a_.u32(v), ...); }
  template <class... F> void flag(const F&... v) { static_assert(kAllOfKind<bool, F...>); (a_.i32(v ? 1 : 0), ...); }
  template <class... F> void byteFlag(const F&... v) { static_assert(kAllOfKind<bool, F...>); (a_.u8(v ? 1 : 0), ...); }
  template <class... F> void counted(const F&... v) {
    static_assert(kAllOfKind<std::vector<uint8_t>, F...>);
    (a_.counted(v), ...);
  }
  template <class... F> void countedText(const F&... v) {
    static_assert(kAllOfKind<std::string, F...>);
    (a_.countedText(v), ...);
  }
  template <class... F> void zeroText(const F&... v) {
    static_assert(kAllOfKind<std::string, F...>);
    (a_.zeroText(v), ...);
  }

 private:
  rt::ByteAppender a_;
  int32_t version_;
};

// The oldest version of a blob whose every older version holds the same fields.
constexpr int32_t kAnyOlderVersion = INT32_MIN;

template <class Record, class = void>
struct HasNormalise : std::false_type {};
template <class Record>
struct HasNormalise<Record, std::void_t<decltype(std::declval<Record&>().Normalise())>> : std::true_type {};

// The Read, Write and Reset of a record stored as a PropertyBlob: a version word from
// Record::kOldestVersion to Record::kBlobVersion, then the record's fields
// (Record::Visit).  A record with ranges brings what it read into them (Normalise).
// The record derives from this; its own source file defines Visit and instantiates
// these members (`template struct VersionedBlob<Record>;`), its header declares that
// instantiation extern.
template <class Record>
struct VersionedBlob {
  void Reset() { static_cast<Record&>(*this) = Record(); }
  // Starts with a reset; false, with the defaults kept, for a version out of range or a
  // blob that ends early.
  bool Read(const uint8_t* blob, size_t size);
  // Always the newest version.
  std::vector<uint8_t> Write() const;
};

template <class Record>
bool VersionedBlob<Record>::Read(const uint8_t* blob, size_t size) {
  Reset();
  BlobFieldReader in(blob, size);
  const int32_t version = in.bytes().i32();
  if (!in.ok() || version < Record::kOldestVersion || version > Record::kBlobVersion) return false;
  in.setVersion(version);
  Record read;
  Record::Visit(read, in);
  if (!in.ok()) return false;
  if constexpr (HasNormalise<Record>::value) read.Normalise();
  static_cast<Record&>(*this) = std::move(read);
  return true;
}

template <class Record>
std::vector<uint8_t> VersionedBlob<Record>::Write() const {
  BlobFieldWriter out(Record::kBlobVersion);
  out.i32(Record::kBlobVersion);
  Record::Visit(static_cast<const Record&>(*this), out);
  return out.take();
}

// A table of records one after the other up to the end of the bytes (Record::Visit
// once per record); false, with the whole records before it kept, when one is cut off.
template <class Record>
bool ReadRecordTable(const std::vector<uint8_t>& bytes, std::vector<Record>* records) {
  records->clear();
  BlobFieldReader in(bytes.data(), bytes.size());
  while (in.ok() && in.bytes().remaining() > 0) {
    Record record;
    Record::Visit(record, in);
    if (in.ok()) records->push_back(std::move(record));
  }
  return in.ok();
}

template <class Record>
std::vector<uint8_t> WriteRecordTable(const std::vector<Record>& records) {
  BlobFieldWriter out;
  for (const Record& record : records) Record::Visit(record, out);
  return out.take();
}

}  // namespace comp
