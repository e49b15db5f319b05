#include "formats/icons/ico_builder.h"

#include "formats/byte_reader.h"

namespace iconres {
namespace {

// Gathers the many small pieces of a file (header, directory entries, patched image
// headers) into blocks before they go to the sink; large pieces pass straight through.
class Gatherer {
 public:
  explicit Gatherer(ByteSink& out) : out_(out) { buffer_.reserve(kBlock); }
  bool Put(const void* data, size_t n) {
    if (buffer_.size() + n > kBlock && !Flush()) return false;
    if (n >= kBlock) return out_.Write(data, n);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    buffer_.insert(buffer_.end(), p, p + n);
    return true;
  }
  bool Flush() {
    const bool ok = buffer_.empty() || out_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
  }

 private:
  static constexpr size_t kBlock = 256 * 1024;
  ByteSink& out_;
  std::vector<uint8_t> buffer_;
};

}  // namespace

uint8_t DirectoryColourCount(uint16_t planes, uint16_t bitCount) {
  uint32_t bits = uint32_t(planes) * bitCount;
  return bits < 8 ? static_cast<uint8_t>(1u << bits) : 0;
}

uint64_t IconFileSize(const IconImageSet& set) {
  const uint16_t count = static_cast<uint16_t>(set.count());
  uint64_t total = kIconHeaderSize + uint64_t(kIconDirEntrySize) * count;
  for (uint16_t i = 0; i < count; ++i) total += set.images[i].length();
  return total;
}

bool StreamIconFile(const IconImageSet& set, ByteSink& sink) {
  if (IconFileSize(set) > kMaxIconFileSize) return false;
  Gatherer out(sink);
  // The directory and the images follow the 16-bit count, which is what a reader sees.
  const uint16_t count = static_cast<uint16_t>(set.count());
  rt::ByteAppender header;
  header.u16(0);  // reserved
  header.u16(1);  // type: icon
  header.u16(count);
  if (!out.Put(header.data().data(), header.size())) return false;

  uint32_t offset = kIconHeaderSize + kIconDirEntrySize * count;
  for (uint16_t i = 0; i < count; ++i) {
    const IconImageEntry& e = set.images[i];
    rt::ByteAppender entry;
    // The image's own sides, 0 for 256 and more (a 194 x 313 PNG is 194 x 0, not 194 x 57).
    entry.u8(DirectorySide(e.width));
    entry.u8(DirectorySide(e.height));
    entry.u8(DirectoryColourCount(e.planes, e.bitCount));
    entry.u8(0);
    entry.u16(e.planes);
    entry.u16(e.bitCount);
    entry.u32(e.length());
    entry.u32(offset);
    offset += e.length();
    if (!out.Put(entry.data().data(), entry.size())) return false;
  }
  for (uint16_t i = 0; i < count; ++i) {
    const IconImageEntry& e = set.images[i];
    if (!e.IsDib()) {
      if (!out.Put(e.data(), e.length())) return false;
      continue;
    }
    // biSizeImage is written as 0 so that readers compute the size themselves.
    static const uint8_t kZero[4] = {};
    if (!out.Put(e.data(), kBiSizeImage) || !out.Put(kZero, sizeof kZero) ||
        !out.Put(e.data() + kBiSizeImage + 4, e.length() - kBiSizeImage - 4))
      return false;
  }
  return out.Flush();
}

std::vector<uint8_t> BuildIconFile(const IconImageSet& set) {
  VectorSink out;
  if (!StreamIconFile(set, out)) return {};
  return std::move(out.bytes);
}

}  // namespace iconres
