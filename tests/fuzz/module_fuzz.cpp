// Fuzz target "module": the module reader (PE32, PE32+ and NE), the group sets made from
// what it reads, the .ico files written from them, and the decoding of plain bitmap
// icons into image-list tiles.  Memory stays within what the input holds, every set that
// is written reads back as the same images, and a decoded tile has the list's size.
#include <string>
#include <vector>

#include "formats/icons/icon_tile.h"
#include "formats/icons/ico_parser.h"
#include "formats/icons/ico_builder.h"
#include "formats/icons/module_resources.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/icon_images.h"

void fuzz::WriteSeeds(const std::string& folder) {
  std::vector<std::vector<iconmodules::Bytes>> groups;
  for (int n = 0; n < 6; ++n) groups.push_back(iconmodules::MixedGroupImages(n % 3 == 2 ? 2 : n));
  WriteSeed(folder, "pe32", iconmodules::BuildPeIconModule(groups, false));
  WriteSeed(folder, "pe32plus", iconmodules::BuildPeIconModule({{iconmodules::BitmapImage(16, 4, 1)}}, true));
  WriteSeed(folder, "ne", iconmodules::BuildNeIconLibrary(iconmodules::SampleNeGroups()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  iconres::MemorySource source(data, size);
  std::optional<iconres::ModuleIcons> read = iconres::ReadModuleIcons(source, iconres::ResourceLanguageOrder(0x804, 0x804, 0x409));
  if (!read) return 0;
  fuzz::Require(read->bytes.size() <= 2 * size + 64 * 1024, "icon data held within twice the input");
  auto icons = std::make_shared<const iconres::ModuleIcons>(std::move(*read));
  for (size_t g = 0; g < icons->groups.size() && g < 64; ++g) {
    std::optional<iconres::IconImageSet> set = iconres::MakeIconImageSet(icons, g);
    if (!set) continue;
    for (const iconres::IconImageEntry& e : set->images) {
      std::optional<comp::IconTile> tile = comp::DecodeAnyIconTile(e.data(), e.length(), 32, 32);
      if (tile) fuzz::Require(tile->colour.size() == 32 * 32 * 4 && tile->mask.size() == 4 * 32, "tile of the list's size");
    }
    const std::vector<uint8_t> file = iconres::BuildIconFile(*set);
    if (file.empty()) continue;
    std::optional<iconres::IconImageSet> back = iconres::ParseIconFile(file.data(), file.size());
    fuzz::Require(back && back->count() == set->count(), "a written group reads back");
    for (size_t i = 0; i < set->images.size(); ++i)
      fuzz::Require(back->images[i].length() == set->images[i].length(), "the same image lengths");
  }
  return 0;
}
