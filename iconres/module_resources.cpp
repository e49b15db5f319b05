#include "iconres/module_resources.h"

#include <algorithm>
#include <cstring>

#include "iconres/module_reading.h"
#include "runtime/byte_reader.h"
#include "runtime/icon_directory.h"

namespace iconres {
namespace {

constexpr uint16_t kDosMagic = 0x5A4D;        // "MZ"
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint16_t kNeSignature = 0x454E;     // "NE"
constexpr uint32_t kNewHeaderField = 0x3C;    // e_lfanew

uint16_t Neutral(uint16_t language) { return static_cast<uint16_t>(language & 0x3FF); }

}  // namespace

bool MemorySource::ReadAt(uint64_t offset, void* out, size_t n) {
  if (offset > size_ || n > size_ - offset) return false;
  if (n) std::memcpy(out, data_ + offset, n);
  return true;
}

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
    : limit_(std::min<uint64_t>(kMaxModuleIconBytes, 2 * fileSize + 64 * 1024)) {
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

LanguageOrder ResourceLanguageOrder(uint16_t threadLanguage, uint16_t userLanguage, uint16_t systemLanguage) {
  const uint16_t candidates[] = {0,
                                 threadLanguage,
                                 userLanguage,
                                 Neutral(userLanguage),
                                 systemLanguage,
                                 Neutral(systemLanguage),
                                 0x0409};
  LanguageOrder order;
  for (uint16_t c : candidates)
    if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
  return order;
}

const ModuleIconImage* ModuleIcons::Image(uint16_t id) const {
  auto it = std::lower_bound(images.begin(), images.end(), id,
                             [](const ModuleIconImage& image, uint16_t v) { return image.id < v; });
  return it != images.end() && it->id == id ? &*it : nullptr;
}

std::optional<ByteRange> ModuleIcons::EntryImage(uint16_t id, uint32_t entryBytes) const {
  const ModuleIconImage* image = Image(id);
  if (!image) return std::nullopt;
  ByteRange r = image->data;
  if (format == ModuleFormat::Ne) r.length = std::min(r.length, entryBytes);
  return r;
}

std::optional<ModuleIcons> ReadModuleIcons(ByteSource& source, const LanguageOrder& languages) {
  BlockReader file(source);
  std::optional<std::vector<uint8_t>> dos = file.Read(0, kNewHeaderField + 4);
  if (!dos) return std::nullopt;
  rt::ByteReader r(dos->data(), dos->size());
  if (r.u16() != kDosMagic) return std::nullopt;
  r.seek(kNewHeaderField);
  const uint32_t header = r.u32();
  std::optional<std::vector<uint8_t>> signature = file.Read(header, 4);
  if (!signature) {
    signature = file.Read(header, 2);
    if (!signature) return std::nullopt;
  }
  rt::ByteReader s(signature->data(), signature->size());
  if (signature->size() == 4 && s.u32() == kPeSignature) return ReadPeIcons(file, header, languages);
  s.seek(0);
  if (s.u16() == kNeSignature) return ReadNeIcons(file, header);
  return std::nullopt;
}

std::optional<IconImageSet> MakeIconImageSet(std::shared_ptr<const ModuleIcons> module, size_t index) {
  if (!module || index >= module->groups.size()) return std::nullopt;
  const ModuleIcons& icons = *module;
  // The images' store is the module's bytes, kept alive through the module itself.
  const std::shared_ptr<const std::vector<uint8_t>> store(module, &module->bytes);
  const ByteRange directory = icons.groups[index].directory;
  const auto entries = rt::ParseIconDirectory(icons.at(directory), directory.length, rt::IconDirectoryKind::Group);
  if (!entries) return std::nullopt;
  IconImageSet set;
  set.images.reserve(entries->size());
  for (const rt::IconDirectoryEntry& e : *entries) {
    std::optional<ByteRange> image = icons.EntryImage(e.id, e.byteSize);
    if (!image) return std::nullopt;
    std::optional<IconImageEntry> entry = MakeImageEntry(store, image->offset, image->length);
    if (!entry) return std::nullopt;
    set.images.push_back(std::move(*entry));
  }
  return set;
}

}  // namespace iconres
