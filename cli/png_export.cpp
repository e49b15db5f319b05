#include "cli/png_export.h"

#include <map>
#include <tuple>

#include "formats/icons/icon_decoder.h"
#include "formats/icons/icon_image_header.h"

namespace cli {
namespace {

using iconres::IconImageEntry;

std::string SizeText(const IconImageEntry& e) { return std::to_string(e.width) + "x" + std::to_string(e.height); }

// Orders images by width, then height, then depth.
std::tuple<int32_t, int32_t, int32_t> Rank(const IconImageEntry& e) { return {e.width, e.height, e.colorBits}; }

}  // namespace

std::vector<size_t> ChooseImages(const iconres::IconImageSet& set, const SizeChoice& choice) {
  std::vector<size_t> chosen;
  if (choice.kind == SizeChoice::All) {
    for (size_t i = 0; i < set.images.size(); ++i) chosen.push_back(i);
    return chosen;
  }
  // The largest overall, and the smallest at least N wide (of one size, the deepest).
  size_t largest = SIZE_MAX, fitting = SIZE_MAX;
  for (size_t i = 0; i < set.images.size(); ++i) {
    const IconImageEntry& e = set.images[i];
    if (largest == SIZE_MAX || Rank(e) > Rank(set.images[largest])) largest = i;
    if (choice.kind != SizeChoice::AtLeast || e.width < choice.pixels) continue;
    if (fitting == SIZE_MAX) {
      fitting = i;
      continue;
    }
    const IconImageEntry& f = set.images[fitting];
    const bool smaller = std::make_tuple(e.width, e.height) < std::make_tuple(f.width, f.height);
    const bool deeper = e.width == f.width && e.height == f.height && e.colorBits > f.colorBits;
    if (smaller || deeper) fitting = i;
  }
  if (fitting != SIZE_MAX) chosen.push_back(fitting);
  else if (largest != SIZE_MAX) chosen.push_back(largest);
  return chosen;
}

std::vector<std::string> PngFileNames(const std::string& title, size_t number, const iconres::IconImageSet& set,
                                      const std::vector<size_t>& chosen) {
  std::map<std::string, int> sizes;
  for (size_t i : chosen) ++sizes[SizeText(set.images[i])];
  std::map<std::string, int> seen;
  std::vector<std::string> names;
  for (size_t i : chosen) {
    const IconImageEntry& e = set.images[i];
    std::string stem = title + "-" + std::to_string(number) + "-" + SizeText(e);
    if (sizes[SizeText(e)] > 1) stem += "-" + std::to_string(e.colorBits) + "bit";
    const int n = ++seen[stem];
    if (n > 1) stem += "~" + std::to_string(n);
    names.push_back(stem + ".png");
  }
  return names;
}

bool PngOfImage(const IconImageEntry& image, std::vector<uint8_t>* png, std::string* error) {
  const iconres::DirectorySides sides{image.directoryWidth, image.directoryHeight};
  const std::optional<iconres::IconImageHeader> h = iconres::ReadIconImageHeader(image.data(), image.length());
  if (h && h->format == iconres::ImageFormat::Png && h->png.bitDepth == 8 && h->png.colorType == 6 &&
      h->png.interlace == 0) {
    if (!iconres::CheckPngHeader(*h, &sides, error)) return false;
    *png = image.Bytes();
    return true;
  }
  iconres::DecodedIcon decoded;
  return iconres::DecodeIconImage(image.data(), image.length(), &sides, &decoded, error) &&
         iconres::EncodePng(decoded.image, png, error);
}

}  // namespace cli
