#include "formats/icons/module_reading.h"

#include <algorithm>
#include <cstring>

#include "formats/icons/icon_directory.h"

namespace iconres {

std::optional<std::vector<uint8_t>> BlockReader::Read(uint64_t offset, size_t n) {
  if (offset > size() || n > size() - offset) return std::nullopt;
  std::vector<uint8_t> out(n);
  if (n > kBlock) {
    if (!source_.ReadAt(offset, out.data(), n)) return std::nullopt;
    return out;
  }
  size_t done = 0;
  while (done < n) {
    const uint64_t at = offset + done;
    const std::vector<uint8_t>* block = Block(at / kBlock);
    if (!block) return std::nullopt;
    const size_t from = static_cast<size_t>(at % kBlock);
    if (from >= block->size()) return std::nullopt;
    const size_t take = std::min(n - done, block->size() - from);
    std::memcpy(out.data() + done, block->data() + from, take);
    done += take;
  }
  return out;
}

const std::vector<uint8_t>* BlockReader::Block(uint64_t index) {
  auto found = blocks_.find(index);
  if (found != blocks_.end()) return &found->second;
  const uint64_t at = index * kBlock;
  const size_t n = static_cast<size_t>(std::min<uint64_t>(kBlock, size() - at));
  std::vector<uint8_t> bytes(n);
  if (!source_.ReadAt(at, bytes.data(), n)) return nullptr;
  if (kept_ + n > kMaxKeptBytes) {
    scratch_ = std::move(bytes);
    return &scratch_;
  }
  kept_ += n;
  return &blocks_.emplace(index, std::move(bytes)).first->second;
}

IconsBuilder::IconsBuilder(ModuleFormat format, uint64_t fileSize)
    : fileSize_(fileSize), limit_(std::min<uint64_t>(kMaxModuleIconBytes, 2 * fileSize + 64 * 1024)) {
  icons_.format = format;
}

std::optional<ByteRange> IconsBuilder::Stored(uint64_t where, uint32_t length) const {
  auto found = stored_.find({where, length});
  if (found == stored_.end()) return std::nullopt;
  return found->second;
}

bool IconsBuilder::Store(uint64_t where, const std::vector<uint8_t>& bytes, ByteRange* range) {
  if (icons_.bytes.size() + bytes.size() > limit_) return false;
  range->offset = static_cast<uint32_t>(icons_.bytes.size());
  range->length = static_cast<uint32_t>(bytes.size());
  icons_.bytes.insert(icons_.bytes.end(), bytes.begin(), bytes.end());
  stored_.emplace(std::make_pair(where, range->length), *range);
  return true;
}

const char* IconsBuilder::FullReason() const {
  return limit_ == kMaxModuleIconBytes ? "icon data over 256 MiB" : "resources overlap beyond the file's size";
}

ModuleIcons IconsBuilder::Finish() {
  std::vector<ModuleIconImage>& images = icons_.images;
  std::stable_sort(images.begin(), images.end(),
                   [](const ModuleIconImage& a, const ModuleIconImage& b) { return a.id < b.id; });
  images.erase(std::unique(images.begin(), images.end(),
                           [](const ModuleIconImage& a, const ModuleIconImage& b) { return a.id == b.id; }),
               images.end());
  return std::move(icons_);
}

std::vector<uint16_t> NamedImageIds(const ModuleIcons& icons) {
  std::vector<uint16_t> ids;
  for (const ModuleIconGroup& g : icons.groups) {
    const auto entries =
        rt::ParseIconDirectory(icons.at(g.directory), g.directory.length, rt::IconDirectoryKind::Group);
    if (!entries) continue;
    for (const rt::IconDirectoryEntry& e : *entries) ids.push_back(e.id);
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

}  // namespace iconres
