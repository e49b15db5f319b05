// Reading the icon resources of a module from its bytes: PE32 and PE32+ files (the
// resource directory found through the data directory and the section table) and NE
// files (the resource table with its alignment shift).  Plain functions over bytes:
// no platform call here, so the reader builds natively too (fuzzing, tools for Linux).
//
// The groups come in the order in which the platform numbers them: for PE, the order of
// the RT_GROUP_ICON directory (named groups first, then ids ascending), one language per
// group chosen as the platform's resource lookup chooses it; for NE, the order of the
// resource table.  Group directories and images are copied out of the file once each,
// so an image that many groups name is held once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formats/icons/icon_image_set.h"

namespace iconres {

// Random access to the bytes of a file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Reads exactly n bytes at offset; false when they are not all there.
  virtual bool ReadAt(uint64_t offset, void* out, size_t n) = 0;
};

// A ByteSource over bytes in memory (borrowed).
class MemorySource : public ByteSource {
 public:
  MemorySource(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(data ? size : 0) {}
  uint64_t size() const override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t n) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

enum class ModuleFormat { Pe32, Pe32Plus, Ne };

// A part of ModuleIcons::bytes.
struct ByteRange {
  uint32_t offset = 0;
  uint32_t length = 0;
};

// A resource name: an integer id or a text.  PE names are stored in UTF-16; NE names
// are bytes of the module's code page, kept here one unit per byte.
struct ResourceName {
  bool isId = true;
  uint16_t id = 0;
  std::u16string text;
};

struct ModuleIconGroup {
  ResourceName name;
  uint16_t language = 0;  // PE only
  ByteRange directory;    // the RT_GROUP_ICON data
  const char* damage = nullptr;  // why its data could not be read ("group data outside the file")
};

struct ModuleIconImage {
  uint16_t id = 0;
  ByteRange data;  // for NE, the resource's whole padded length
  const char* damage = nullptr;  // why its data could not be read; data is then empty
};

// The languages to try, in order, when a resource exists in several: the first one
// present wins, and without any of them the first language of the directory.
using LanguageOrder = std::vector<uint16_t>;

// The order in which the platform's resource lookup without a language tries them:
// neutral, the thread's language, the user's (with and without its sublanguage), the
// system's (with and without), then US English.
LanguageOrder ResourceLanguageOrder(uint16_t threadLanguage, uint16_t userLanguage, uint16_t systemLanguage);
// The order of a US English system, for readers without a user language (Linux).
const LanguageOrder& UsEnglishLanguageOrder();

struct ModuleIcons {
  ModuleFormat format = ModuleFormat::Pe32;
  std::vector<ModuleIconGroup> groups;  // in the platform's numbering
  std::vector<ModuleIconImage> images;  // those the groups name, sorted by id
  std::vector<uint8_t> bytes;           // the directories and images, each once

  const uint8_t* at(ByteRange r) const { return bytes.data() + r.offset; }
  // The image with this id, or null.
  const ModuleIconImage* Image(uint16_t id) const;
  // The image bytes that a group entry names: for NE as long as the entry says,
  // clamped to the resource's padded length; for PE the whole resource.  Nothing when
  // the image does not exist or is damaged.
  std::optional<ByteRange> EntryImage(uint16_t id, uint32_t entryBytes) const;
};

// Reads the icon resources of a PE32, PE32+ or NE module.  Nothing when the bytes are
// not such a module, when its headers or resource directory are damaged, or when its
// icon data would exceed kMaxModuleIconBytes; `damage` then says what is damaged
// ("section table outside the file"), and stays empty for bytes that are no module at
// all.  A group or image whose own data is damaged does not stop the others: it is kept
// with its `damage`.  A module without icon groups reads as one with an empty group list.
// With a group limit, only the first groups (in the platform's numbering) and the images
// they name are read: a thumbnail needs one.
std::optional<ModuleIcons> ReadModuleIcons(ByteSource& source, const LanguageOrder& languages,
                                           std::string* damage = nullptr, size_t groupLimit = SIZE_MAX);

// Icon data (directories plus distinct images) that one module may hold in memory.
// A 32-bit process cannot count on more in one piece; larger modules are refused.
constexpr uint64_t kMaxModuleIconBytes = 256u << 20;

// Group `index` (0-based) as an icon set: its images in directory order, sharing the
// module's bytes (which the set keeps alive).  Nothing when the index is out of range,
// the group's data is damaged, the directory is short, or an image is missing, damaged,
// malformed or cut short; `why` then says which ("damaged module: image 7 lies outside
// the file").
std::optional<IconImageSet> MakeIconImageSet(std::shared_ptr<const ModuleIcons> icons, size_t index,
                                             std::string* why = nullptr);

}  // namespace iconres
