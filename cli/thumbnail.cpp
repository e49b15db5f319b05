#include "cli/thumbnail.h"

#include <memory>
#include <optional>

#include "cli/png_export.h"
#include "formats/icons/png_codec.h"
#include "formats/icons/ico_builder.h"
#include "formats/icons/ico_parser.h"

namespace cli {
namespace {

// An .ico file starts with reserved 0 and type 1; no module does (they start "MZ").
bool HasIconFileHeader(iconres::ByteSource& source) {
  uint8_t header[4];
  return source.size() >= sizeof header && source.ReadAt(0, header, sizeof header) && header[0] == 0 &&
         header[1] == 0 && header[2] == 1 && header[3] == 0;
}

// The group a thumbnail shows: an .ico file's one group, or a module's first.
std::optional<iconres::IconImageSet> ThumbnailGroup(iconres::ByteSource& source, std::string* error) {
  if (HasIconFileHeader(source)) {
    // An .ico file is read whole; one larger than any icon file this tool would write
    // is not read at all.
    if (source.size() > iconres::kMaxIconFileSize) {
      *error = "icon file too large";
      return std::nullopt;
    }
    auto bytes = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(source.size()));
    if (!source.ReadAt(0, bytes->data(), bytes->size())) {
      *error = "read failed";
      return std::nullopt;
    }
    std::optional<iconres::IconImageSet> set = iconres::ParseIconFile(std::move(bytes));
    if (!set) *error = "damaged icon file";
    return set;
  }
  // Linux has no user language: a group stored in several languages is taken as a US
  // English system would take it, as for .ico output.
  std::optional<iconres::ModuleIcons> read =
      iconres::ReadModuleIcons(source, iconres::UsEnglishLanguageOrder(), nullptr, 1);
  if (!read) {
    *error = "not a module or icon file";
    return std::nullopt;
  }
  if (read->groups.empty()) {
    *error = "no icons";
    return std::nullopt;
  }
  std::optional<iconres::IconImageSet> set =
      iconres::MakeIconImageSet(std::make_shared<const iconres::ModuleIcons>(std::move(*read)), 0);
  if (!set) *error = "icon 1 cannot be loaded (missing or malformed image)";
  return set;
}

}  // namespace

bool MakeThumbnail(iconres::ByteSource& source, uint32_t size, std::vector<uint8_t>* png, std::string* error) {
  const std::optional<iconres::IconImageSet> set = ThumbnailGroup(source, error);
  if (!set) return false;
  SizeChoice choice;
  choice.kind = SizeChoice::AtLeast;
  choice.pixels = static_cast<int32_t>(size);
  const std::vector<size_t> chosen = ChooseImages(*set, choice);
  if (chosen.empty()) {
    *error = "no icons";
    return false;
  }
  const iconres::IconImageEntry& image = set->images[chosen.front()];
  if (!PngOfImage(image, png, error)) return false;
  // A PNG image is kept as it is stored once its header passes; a thumbnail is shown
  // only when it decodes whole, so a damaged stream fails here and not in the client.
  iconres::RgbaImage pixels;
  if (!image.IsDib() && !iconres::DecodePng(png->data(), png->size(), &pixels, error)) {
    *error = "icon 1 cannot be loaded (damaged PNG image: " + *error + ")";
    return false;
  }
  return true;
}

}  // namespace cli
