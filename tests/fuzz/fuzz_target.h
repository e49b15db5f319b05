// What every fuzz target shares.  A target is one program, tests/fuzz/<name>_fuzz.cpp,
// built natively by tools/fuzz.sh with libFuzzer, AddressSanitizer and
// UndefinedBehaviorSanitizer.  It defines LLVMFuzzerTestOneInput and fuzz::WriteSeeds;
// fuzz_target.cpp adds the option that writes its seed corpus:
//
//   <name>_fuzz --write-seeds=DIR
//
// Besides reads and writes outside a buffer, a target checks properties of what the
// reader accepts, above all that what reads writes back stably.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// Aborts with the broken property named, so that libFuzzer keeps the input.
void Require(bool condition, const char* what);

// Writes one seed file.
void WriteSeed(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes);

// Defined by each target: writes its seeds, made with the writers, into folder.
void WriteSeeds(const std::string& folder);

// A reader whose writer is its inverse: what reads writes back into bytes that read
// again and write the same bytes.  Blob has Read(data, size) and Write().
template <typename Blob>
void BlobRoundTrip(const uint8_t* data, size_t size, const char* what) {
  Blob blob;
  if (!blob.Read(data, size)) return;
  const std::vector<uint8_t> bytes = blob.Write();
  Blob again;
  Require(again.Read(bytes.data(), bytes.size()), what);
  Require(again.Write() == bytes, what);
}

// A reader that keeps every value in its range: normalising what it read changes
// nothing.  Blob has Read, Write and Normalise().
template <typename Blob>
void ReadsInRange(const uint8_t* data, size_t size, const char* what) {
  Blob blob;
  if (!blob.Read(data, size)) return;
  Blob normal = blob;
  normal.Normalise();
  Require(normal.Write() == blob.Write(), what);
}

// The seed "version1": the blob as version 1 stored it, without the data-binding texts
// (the two empty counted texts at its end).
template <typename Blob>
void WriteVersion1Seed(const std::string& folder, Blob blob) {
  blob.dataSource.clear();
  blob.dataField.clear();
  std::vector<uint8_t> bytes = blob.Write();
  bytes.resize(bytes.size() - 8);
  bytes[0] = 1;
  WriteSeed(folder, "version1", bytes);
}

// The seeds of a blob with data-binding texts: its defaults ("default"), `full`
// ("full"), and `full` as version 1 stored it ("version1").
template <typename Blob>
void WriteDataBoundSeeds(const std::string& folder, const Blob& full) {
  WriteSeed(folder, "default", Blob().Write());
  WriteSeed(folder, "full", full.Write());
  WriteVersion1Seed(folder, full);
}

// Both properties of a ranged blob, named `writesBack` and `inRange`.
template <typename Blob>
void RoundTripInRange(const uint8_t* data, size_t size, const char* writesBack, const char* inRange) {
  BlobRoundTrip<Blob>(data, size, writesBack);
  ReadsInRange<Blob>(data, size, inRange);
}

}  // namespace fuzz
