#include "formats/icons/ico_parser.h"

#include <utility>

#include "formats/icons/icon_directory.h"

namespace iconres {

std::optional<IconImageSet> ParseIconFile(std::shared_ptr<const std::vector<uint8_t>> file) {
  if (!file) return std::nullopt;
  const auto directory = rt::ParseIconDirectory(file->data(), file->size(), rt::IconDirectoryKind::IconFile);
  if (!directory) return std::nullopt;
  IconImageSet set;
  set.images.reserve(directory->size());
  for (const rt::IconDirectoryEntry& e : *directory) {
    std::optional<IconImageEntry> entry = MakeImageEntry(file, e.offset, e.byteSize);
    if (!entry) return std::nullopt;
    entry->directoryWidth = e.width;
    entry->directoryHeight = e.height;
    set.images.push_back(std::move(*entry));
  }
  return set;
}

std::optional<IconImageSet> ParseIconFile(const uint8_t* data, size_t size) {
  if (!data) size = 0;
  return ParseIconFile(std::make_shared<const std::vector<uint8_t>>(data, data + size));
}

}  // namespace iconres
