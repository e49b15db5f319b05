#include "formats/icons/module_resources.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "formats/icons/module_reading.h"
#include "formats/icons/ne_resources.h"
#include "formats/icons/pe_resources.h"
#include "formats/byte_reader.h"
#include "formats/icons/icon_directory.h"

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

const LanguageOrder& UsEnglishLanguageOrder() {
  static const LanguageOrder order = ResourceLanguageOrder(0x0409, 0x0409, 0x0409);
  return order;
}

const ModuleIconImage* ModuleIcons::Image(uint16_t id) const {
  auto it = std::lower_bound(images.begin(), images.end(), id,
                             [](const ModuleIconImage& image, uint16_t v) { return image.id < v; });
  return it != images.end() && it->id == id ? &*it : nullptr;
}

std::optional<ByteRange> ModuleIcons::EntryImage(uint16_t id, uint32_t entryBytes) const {
  const ModuleIconImage* image = Image(id);
  if (!image || image->damage) return std::nullopt;
  ByteRange r = image->data;
  if (format == ModuleFormat::Ne) r.length = std::min(r.length, entryBytes);
  return r;
}

std::optional<ModuleIcons> ReadModuleIcons(ByteSource& source, const LanguageOrder& languages, std::string* damage,
                                           size_t groupLimit) {
  std::string unused;
  if (!damage) damage = &unused;
  damage->clear();
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
  if (signature->size() == 4 && s.u32() == kPeSignature) return ReadPeIcons(file, header, languages, damage, groupLimit);
  s.seek(0);
  if (s.u16() == kNeSignature) return ReadNeIcons(file, header, damage, groupLimit);
  return std::nullopt;
}

std::optional<IconImageSet> MakeIconImageSet(std::shared_ptr<const ModuleIcons> module, size_t index,
                                             std::string* why) {
  std::string unused;
  if (!why) why = &unused;
  if (!module || index >= module->groups.size()) {
    *why = "no such group";
    return std::nullopt;
  }
  const ModuleIcons& icons = *module;
  const ModuleIconGroup& group = icons.groups[index];
  if (group.damage) {
    *why = std::string("damaged module: ") + group.damage;
    return std::nullopt;
  }
  // The images' store is the module's bytes, kept alive through the module itself.
  const std::shared_ptr<const std::vector<uint8_t>> store(module, &module->bytes);
  const ByteRange directory = group.directory;
  const auto entries = rt::ParseIconDirectory(icons.at(directory), directory.length, rt::IconDirectoryKind::Group);
  if (!entries) {
    *why = "damaged module: group directory cut short";
    return std::nullopt;
  }
  IconImageSet set;
  set.images.reserve(entries->size());
  for (const rt::IconDirectoryEntry& e : *entries) {
    auto fail = [&](const std::string& what) {
      *why = "damaged module: image " + std::to_string(e.id) + " " + what;
      return std::nullopt;
    };
    const ModuleIconImage* found = icons.Image(e.id);
    if (!found) return fail("is missing");
    if (found->damage) return fail(found->damage);
    const std::optional<ByteRange> bytes = icons.EntryImage(e.id, e.byteSize);
    std::string malformed;
    std::optional<IconImageEntry> entry = MakeImageEntry(store, bytes->offset, bytes->length, &malformed);
    if (!entry) return fail(malformed);
    entry->directoryWidth = e.width;
    entry->directoryHeight = e.height;
    set.images.push_back(std::move(*entry));
  }
  return set;
}

}  // namespace iconres
