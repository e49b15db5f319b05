// Fuzz target "icon_decoder": one icon image (bitmap or PNG, through libpng) decoded to
// RGBA.  What decodes has a size within the bounds and the pixels the size says, its
// fully transparent pixels are 0, and (up to 16 x 16) it encodes as a PNG that decodes
// again to the same pixels.  The first input byte, when below 16, is taken as a
// directory entry's side bytes for the PNG check (both sides the byte x 16).
#include <string>
#include <vector>

#include "formats/icons/icon_decoder.h"
#include "formats/icons/png_codec.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/icon_images.h"

void fuzz::WriteSeeds(const std::string& folder) {
  int n = 0;
  for (const iconmodules::Bytes& image : iconmodules::EdgeCaseImages()) {
    if (image.size() > 65536) continue;
    WriteSeed(folder, ("edge" + std::to_string(n++)).c_str(), image);
  }
  WriteSeed(folder, "png48", iconmodules::PngImage(48, 3));
  WriteSeed(folder, "bitmap4", iconmodules::BitmapImage(32, 4, 1));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  iconres::DirectorySides sides;
  const iconres::DirectorySides* directory = nullptr;
  if (size > 0 && data[0] < 16) {
    sides.width = sides.height = static_cast<uint8_t>(data[0] * 16);
    directory = &sides;
    ++data;
    --size;
  }
  iconres::DecodedIcon decoded;
  std::string error;
  if (!iconres::DecodeIconImage(data, size, directory, &decoded, &error)) {
    fuzz::Require(!error.empty(), "a failure has a reason");
    return 0;
  }
  const iconres::RgbaImage& image = decoded.image;
  fuzz::Require(image.width > 0 && image.height > 0 && image.width <= iconres::kMaxDecodedSide &&
                    image.height <= iconres::kMaxDecodedSide,
                "a size within the bounds");
  fuzz::Require(image.pixels.size() == size_t(image.width) * size_t(image.height) * 4, "pixels of that size");
  for (size_t i = 0; i < image.pixels.size(); i += 4)
    if (image.pixels[i + 3] == 0)
      fuzz::Require(!image.pixels[i] && !image.pixels[i + 1] && !image.pixels[i + 2], "transparent pixels are 0");
  if (image.pixels.size() > 16 * 16 * 4) return 0;
  std::vector<uint8_t> png;
  fuzz::Require(iconres::EncodePng(image, &png, &error), "decoded pixels encode");
  iconres::RgbaImage again;
  fuzz::Require(iconres::DecodePng(png.data(), png.size(), &again, &error), "an encoded PNG decodes");
  fuzz::Require(again.width == image.width && again.height == image.height && again.pixels == image.pixels,
                "the same pixels back");
  return 0;
}
