// What the PE and NE readers (pe_resources.h, ne_resources.h) share: a block-cached
// reader of the file and the builder that copies group directories and images out of
// it once.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "formats/icons/module_resources.h"

namespace iconres {

// The resource types that hold icons, numbered alike in PE and NE modules.
constexpr uint16_t kResourceTypeIcon = 3;        // one image
constexpr uint16_t kResourceTypeGroupIcon = 14;  // a group's directory

// Reads a ByteSource through 64 KiB blocks that it keeps, so that the many small reads
// of a resource directory cost one read of the file each block.  Reads larger than a
// block go to the source directly, and blocks stop being kept once they hold
// kMaxKeptBytes, so memory follows what the file holds and what is asked of it.
class BlockReader {
 public:
  explicit BlockReader(ByteSource& source) : source_(source) {}
  uint64_t size() const { return source_.size(); }
  // n bytes at offset; nothing when they are not all inside the file or a read fails.
  std::optional<std::vector<uint8_t>> Read(uint64_t offset, size_t n);

 private:
  static constexpr uint64_t kBlock = 64 * 1024;
  static constexpr uint64_t kMaxKeptBytes = 16u << 20;
  const std::vector<uint8_t>* Block(uint64_t index);

  ByteSource& source_;
  std::map<uint64_t, std::vector<uint8_t>> blocks_;
  uint64_t kept_ = 0;
  std::vector<uint8_t> scratch_;
};

// Collects the result of a reader: each group directory and each image once.  Data
// is keyed by where it lies in the file, so entries that share data share its copy,
// and the total is held to twice the file's size (at most kMaxModuleIconBytes):
// overlapping resources of a crafted file cannot make it grow past what the file holds.
class IconsBuilder {
 public:
  IconsBuilder(ModuleFormat format, uint64_t fileSize);

  enum class Copy { Done, Outside, Full };
  // Copies the `length` bytes of a resource at `where` (what read() gives, or nothing
  // when they are not in the file) into the result, once for each place.  Data longer
  // than the file, or that read() cannot give, is Outside: it fails only the resource
  // it belongs to.  Full means the module's icon data passed its limit.
  template <class Read>
  Copy CopyIn(uint64_t where, uint64_t length, Read&& read, ByteRange* range) {
    if (length > fileSize_) return Copy::Outside;
    if (length > kMaxModuleIconBytes) return Copy::Full;
    if (std::optional<ByteRange> stored = Stored(where, static_cast<uint32_t>(length))) {
      *range = *stored;
      return Copy::Done;
    }
    std::optional<std::vector<uint8_t>> data = read();
    if (!data) return Copy::Outside;
    return Store(where, *data, range) ? Copy::Done : Copy::Full;
  }
  // What passing the limit means for the module, for its failure message.
  const char* FullReason() const;
  ModuleIcons& icons() { return icons_; }
  // Sorts the images by id, keeping the first of equal ids, and hands the result over.
  ModuleIcons Finish();

 private:
  // The copy of the data at `where` of `length` bytes, when it was stored before.
  std::optional<ByteRange> Stored(uint64_t where, uint32_t length) const;
  // Appends the data found at `where`; false when the total would pass the limit.
  bool Store(uint64_t where, const std::vector<uint8_t>& bytes, ByteRange* range);

  ModuleIcons icons_;
  uint64_t fileSize_;
  uint64_t limit_;
  std::map<std::pair<uint64_t, uint32_t>, ByteRange> stored_;
};

// The icon ids that the groups' directories name, sorted and distinct.
std::vector<uint16_t> NamedImageIds(const ModuleIcons& icons);

}  // namespace iconres
