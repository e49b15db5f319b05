// The resource directory is a tree of three levels (type, name, language).  Each
// directory is a 16-byte header whose last two words count the named and the numbered
// entries, followed by 8-byte entries: a name (a string offset when the high bit is
// set, otherwise an id) and a target (a subdirectory offset when the high bit is set,
// otherwise the offset of a 16-byte data entry: RVA, size, code page, reserved).  All
// offsets count from the start of the resource directory.
#include "formats/icons/pe_resources.h"

#include <algorithm>
#include <string>

#include "formats/byte_reader.h"

namespace iconres {
namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kHighBit = 0x80000000u;

struct Section {
  uint32_t virtualAddress = 0, virtualSize = 0;  // where it is loaded, and how much
  uint32_t rawOffset = 0, rawSize = 0;           // where the file holds it, and how much
};

struct DirectoryEntry {
  uint32_t name = 0;
  uint32_t target = 0;
  bool named() const { return (name & kHighBit) != 0; }
  bool subdirectory() const { return (target & kHighBit) != 0; }
  uint32_t offset() const { return target & ~kHighBit; }
};

class PeFile {
 public:
  PeFile(BlockReader& file, std::vector<Section> sections, uint32_t headerBytes, uint32_t resourceRva)
      : file_(file), sections_(std::move(sections)), headerBytes_(headerBytes), root_(resourceRva) {}


  // n bytes at an RVA, which must lie in the file's bytes of one section or of the
  // headers: memory the loader fills with zeros is not read, so nothing here grows
  // beyond what the file holds.
  std::optional<std::vector<uint8_t>> ReadRva(uint64_t rva, uint32_t n) {
    if (rva + n <= headerBytes_) return file_.Read(rva, n);
    for (const Section& s : sections_) {
      const uint32_t mapped = s.virtualSize ? s.virtualSize : s.rawSize;
      if (rva < s.virtualAddress || rva - s.virtualAddress >= mapped) continue;
      const uint64_t inSection = rva - s.virtualAddress;
      if (inSection + n > s.rawSize) return std::nullopt;
      return file_.Read(uint64_t(s.rawOffset) + inSection, n);
    }
    return std::nullopt;
  }

  // The entries of the directory at `offset` from the resource root.
  std::optional<std::vector<DirectoryEntry>> Directory(uint32_t offset) {
    std::optional<std::vector<uint8_t>> head = ReadRva(uint64_t(root_) + offset, 16);
    if (!head) return std::nullopt;
    rt::ByteReader h(head->data(), head->size());
    h.skip(12);
    const uint32_t count = uint32_t(h.u16()) + h.u16();
    std::optional<std::vector<uint8_t>> raw = ReadRva(uint64_t(root_) + offset + 16, count * 8);
    if (!raw) return std::nullopt;
    rt::ByteReader r(raw->data(), raw->size());
    std::vector<DirectoryEntry> entries(count);
    for (DirectoryEntry& e : entries) {
      e.name = r.u32();
      e.target = r.u32();
    }
    return entries;
  }

  // The subdirectory that a type or name entry points to.
  std::optional<std::vector<DirectoryEntry>> Below(const DirectoryEntry& e) {
    if (!e.subdirectory()) return std::nullopt;
    return Directory(e.offset());
  }

  // The name of a named entry: a count of UTF-16 units, then the units.
  std::optional<std::u16string> NameText(const DirectoryEntry& e) {
    const uint64_t at = uint64_t(root_) + (e.name & ~kHighBit);
    std::optional<std::vector<uint8_t>> length = ReadRva(at, 2);
    if (!length) return std::nullopt;
    const uint16_t units = static_cast<uint16_t>((*length)[0] | (*length)[1] << 8);
    std::optional<std::vector<uint8_t>> raw = ReadRva(at + 2, uint32_t(units) * 2);
    if (!raw) return std::nullopt;
    std::u16string text(units, u'\0');
    for (size_t i = 0; i < units; ++i) text[i] = static_cast<char16_t>((*raw)[2 * i] | (*raw)[2 * i + 1] << 8);
    return text;
  }

  // The RVA and size of a language entry's data; nothing when the entry is a directory.
  std::optional<std::pair<uint32_t, uint32_t>> DataLocation(const DirectoryEntry& e) {
    if (e.subdirectory()) return std::nullopt;
    std::optional<std::vector<uint8_t>> entry = ReadRva(uint64_t(root_) + e.offset(), 16);
    if (!entry) return std::nullopt;
    rt::ByteReader r(entry->data(), entry->size());
    const uint32_t rva = r.u32();
    const uint32_t size = r.u32();
    return std::make_pair(rva, size);
  }

 private:
  BlockReader& file_;
  std::vector<Section> sections_;
  uint32_t headerBytes_;
  uint32_t root_;
};

// The language entry that the platform's lookup picks: the first of `languages` that is
// present, else the first entry.
const DirectoryEntry* PickLanguage(const std::vector<DirectoryEntry>& entries, const LanguageOrder& languages) {
  for (uint16_t wanted : languages)
    for (const DirectoryEntry& e : entries)
      if (!e.named() && e.name == wanted) return &e;
  return entries.empty() ? nullptr : &entries.front();
}

using Copy = IconsBuilder::Copy;

// Copies the data of a language entry into the result (IconsBuilder::CopyIn); a data
// entry that does not lie in the file is Outside.
Copy CopyData(PeFile& pe, const DirectoryEntry& lang, IconsBuilder& out, ByteRange* range) {
  std::optional<std::pair<uint32_t, uint32_t>> at = pe.DataLocation(lang);
  if (!at) return Copy::Outside;
  return out.CopyIn(at->first, at->second, [&] { return pe.ReadRva(at->first, at->second); }, range);
}

const DirectoryEntry* FindType(const std::vector<DirectoryEntry>& types, uint16_t id) {
  for (const DirectoryEntry& e : types)
    if (!e.named() && e.name == id) return &e;
  return nullptr;
}

// A group whose name or data cannot be read keeps its number and fails alone, with
// its damage.  False (with the module's damage) when the groups cannot be listed at all.
bool ReadGroups(PeFile& pe, const DirectoryEntry& type, const LanguageOrder& languages, size_t groupLimit,
                IconsBuilder& out, std::string* damage) {
  std::optional<std::vector<DirectoryEntry>> names = pe.Below(type);
  if (!names) {
    *damage = "icon group directory outside the file";
    return false;
  }
  for (const DirectoryEntry& n : *names) {
    if (out.icons().groups.size() == groupLimit) break;
    ModuleIconGroup group;
    std::optional<std::vector<DirectoryEntry>> langs = pe.Below(n);
    const DirectoryEntry* lang = langs ? PickLanguage(*langs, languages) : nullptr;
    if (!langs) {
      group.damage = "group's language directory outside the file";
    } else if (!lang) {
      group.damage = "group has no data";
    } else {
      group.language = static_cast<uint16_t>(lang->name);
      switch (CopyData(pe, *lang, out, &group.directory)) {
        case Copy::Done: break;
        case Copy::Outside: group.damage = "group data outside the file"; break;
        case Copy::Full: *damage = out.FullReason(); return false;
      }
    }
    if (n.named()) {
      group.name.isId = false;
      if (std::optional<std::u16string> text = pe.NameText(n))
        group.name.text = std::move(*text);
      else
        group.damage = "group name outside the file";
    } else {
      group.name.id = static_cast<uint16_t>(n.name);
    }
    out.icons().groups.push_back(std::move(group));
  }
  return true;
}

// An image that a group names but whose data cannot be read is kept with its damage,
// so that it fails only the groups that name it.
bool ReadImages(PeFile& pe, const DirectoryEntry& type, const LanguageOrder& languages, IconsBuilder& out,
                std::string* damage) {
  const std::vector<uint16_t> wanted = NamedImageIds(out.icons());
  if (wanted.empty()) return true;
  std::optional<std::vector<DirectoryEntry>> names = pe.Below(type);
  if (!names) {
    *damage = "icon image directory outside the file";
    return false;
  }
  for (const DirectoryEntry& n : *names) {
    if (n.named() || n.name > 0xFFFF) continue;
    const uint16_t id = static_cast<uint16_t>(n.name);
    if (!std::binary_search(wanted.begin(), wanted.end(), id)) continue;
    ModuleIconImage image;
    image.id = id;
    std::optional<std::vector<DirectoryEntry>> langs = pe.Below(n);
    const DirectoryEntry* lang = langs ? PickLanguage(*langs, languages) : nullptr;
    if (!langs) {
      image.damage = "has its language directory outside the file";
    } else if (!lang) {
      continue;  // no data at all: the image is missing
    } else {
      switch (CopyData(pe, *lang, out, &image.data)) {
        case Copy::Done: break;
        case Copy::Outside: image.damage = "lies outside the file"; break;
        case Copy::Full: *damage = out.FullReason(); return false;
      }
    }
    out.icons().images.push_back(image);
  }
  return true;
}

}  // namespace

std::optional<ModuleIcons> ReadPeIcons(BlockReader& file, uint32_t header, const LanguageOrder& languages,
                                       std::string* damage, size_t groupLimit) {
  auto damaged = [damage](const char* what) {
    *damage = what;
    return std::nullopt;
  };
  std::optional<std::vector<uint8_t>> fileHeader = file.Read(uint64_t(header) + 4, 20);
  if (!fileHeader) return damaged("file header outside the file");
  rt::ByteReader f(fileHeader->data(), fileHeader->size());
  f.skip(2);  // machine
  const uint16_t sectionCount = f.u16();
  f.skip(12);  // time stamp, symbol table, symbol count
  const uint16_t optionalSize = f.u16();
  const uint64_t optionalAt = uint64_t(header) + 24;
  std::optional<std::vector<uint8_t>> optional = file.Read(optionalAt, optionalSize);
  if (!optional) return damaged("optional header outside the file");

  rt::ByteReader o(optional->data(), optional->size());
  const uint16_t magic = o.u16();
  if (magic != kPe32Magic && magic != kPe32PlusMagic) return damaged("optional header of an unknown kind");
  const bool plus = magic == kPe32PlusMagic;
  o.seek(60);
  const uint32_t headerBytes = o.u32();  // SizeOfHeaders
  o.seek(plus ? 108 : 92);
  const uint32_t directoryCount = o.u32();
  if (!o.ok()) return damaged("optional header cut short");
  uint32_t resourceRva = 0, resourceSize = 0;
  if (directoryCount > kResourceDirectoryIndex) {
    o.seek((plus ? 112 : 96) + kResourceDirectoryIndex * 8);
    resourceRva = o.u32();
    resourceSize = o.u32();
    if (!o.ok()) resourceRva = resourceSize = 0;  // the directory lies past the optional header
  }

  std::optional<std::vector<uint8_t>> table =
      file.Read(optionalAt + optionalSize, size_t(sectionCount) * kSectionHeaderSize);
  if (!table) return damaged("section table outside the file");
  rt::ByteReader t(table->data(), table->size());
  std::vector<Section> sections(sectionCount);
  for (Section& s : sections) {
    t.skip(8);  // name
    s.virtualSize = t.u32();
    s.virtualAddress = t.u32();
    s.rawSize = t.u32();
    s.rawOffset = t.u32();
    t.skip(16);
  }

  IconsBuilder out(plus ? ModuleFormat::Pe32Plus : ModuleFormat::Pe32, file.size());
  if (resourceRva == 0 || resourceSize == 0) return out.Finish();  // no resources: no icon groups
  PeFile pe(file, std::move(sections), headerBytes, resourceRva);
  std::optional<std::vector<DirectoryEntry>> types = pe.Directory(0);
  if (!types) return damaged("resource directory outside the file");
  if (const DirectoryEntry* groups = FindType(*types, kResourceTypeGroupIcon))
    if (!ReadGroups(pe, *groups, languages, groupLimit, out, damage)) return std::nullopt;
  if (const DirectoryEntry* images = FindType(*types, kResourceTypeIcon))
    if (!ReadImages(pe, *images, languages, out, damage)) return std::nullopt;
  return out.Finish();
}

}  // namespace iconres
