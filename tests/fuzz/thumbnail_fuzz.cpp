// Fuzz target "thumbnail": what --thumbnail makes of a file (a module or an .ico file):
// its first group, the image the size rule picks, and that image as a PNG.  Whatever
// the file, a failure comes with a reason; a thumbnail is an 8-bit RGBA PNG whose
// pixels decode, no wider or taller than the decoder allows.  The first input byte
// picks the thumbnail size (16 to 4096 pixels).
#include <string>
#include <vector>

#include "cli/thumbnail.h"
#include "formats/icons/ico_builder.h"
#include "formats/icons/png_codec.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/icon_images.h"

void fuzz::WriteSeeds(const std::string& folder) {
  using namespace iconmodules;
  // A size byte, then the file.
  auto seed = [&folder](const char* name, uint8_t size, Bytes file) {
    file.insert(file.begin(), size);
    WriteSeed(folder, name, file);
  };
  seed("pe32", 8, BuildPeIconModule({{PngImage(64, 3), BitmapImage(48, 32, 4), BitmapImage(16, 1, 6)}}, false));
  seed("pe32plus", 2, BuildPeIconModule({{BitmapImage(16, 4, 8), BitmapImage(32, 8, 9)}}, true));
  seed("ne", 0, BuildNeIconLibrary(SampleNeGroups()));
  seed("noicons", 8, BuildPeIconModule({}, false));
  const std::vector<Bytes> images = {BitmapImage(32, 24, 1), PngImage(48, 2)};
  iconres::IconImageSet set;
  for (const Bytes& image : images) set.images.push_back(*iconres::MakeImageEntry(image));
  seed("ico", 4, iconres::BuildIconFile(set));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint32_t thumbnailSize = 16u * (1u + data[0]);
  iconres::MemorySource source(data + 1, size - 1);
  std::vector<uint8_t> png;
  std::string error;
  if (!cli::MakeThumbnail(source, thumbnailSize, &png, &error)) {
    fuzz::Require(!error.empty(), "a failure has a reason");
    return 0;
  }
  fuzz::Require(png.size() > 33 && png[24] == 8 && png[25] == 6 && png[28] == 0, "an 8-bit RGBA PNG, not interlaced");
  iconres::RgbaImage image;
  fuzz::Require(iconres::DecodePng(png.data(), png.size(), &image, &error), "the thumbnail decodes");
  fuzz::Require(image.width > 0 && image.height > 0 && image.width <= int32_t(iconres::kMaxPngSide) &&
                    image.height <= int32_t(iconres::kMaxPngSide),
                "a size within the bounds");
  return 0;
}
