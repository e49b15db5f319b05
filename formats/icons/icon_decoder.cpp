#include "formats/icons/icon_decoder.h"

#include "formats/icons/icon_image_header.h"
#include "formats/byte_reader.h"

namespace iconres {
namespace {

std::string SizeText(int64_t w, int64_t h) { return std::to_string(w) + "x" + std::to_string(h); }

// One colour channel of a BI_BITFIELDS mask: where it starts and how many bits it has.
// The value is widened to 8 bits by repeating its bits, as 5-bit channels are.
struct Field {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Field(uint32_t m) : mask(m) {
    if (!m) return;
    while (!((m >> shift) & 1)) ++shift;
    while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
  }
  uint8_t Of(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += bits) wide = (wide << bits) | v;
    const int extra = ((8 + bits - 1) / bits) * bits - 8;
    return static_cast<uint8_t>(wide >> extra);
  }
};

bool Fail(std::string* error, std::string reason) {
  *error = std::move(reason);
  return false;
}

// A PNG side against its directory byte.  0 stands for 256 and more, and is what many
// writers store for every PNG image whatever its size (Wine's own modules among them),
// so it agrees with any side; old resource compilers stored the low 8 bits of sides
// of 256 and more.
bool SideAgrees(uint8_t entry, int32_t side) { return entry == 0 || entry == (side & 0xFF); }

// Clears the colour of every fully transparent pixel.
void ClearTransparent(RgbaImage* image) {
  for (size_t i = 0; i + 3 < image->pixels.size(); i += 4)
    if (image->pixels[i + 3] == 0) image->pixels[i] = image->pixels[i + 1] = image->pixels[i + 2] = 0;
}

bool DecodePngImage(const uint8_t* data, size_t size, const IconImageHeader& h, const DirectorySides* directory,
                    DecodedIcon* out, std::string* error) {
  if (!CheckPngHeader(h, directory, error)) return false;
  std::string reason;
  if (!DecodePng(data, size, &out->image, &reason)) return Fail(error, "damaged PNG image: " + reason);
  if (out->image.width != h.width || out->image.height != h.height) return Fail(error, "damaged PNG image: size changed");
  ClearTransparent(&out->image);
  out->alpha = true;
  out->invertedPixels = 0;
  return true;
}

bool ReadLayers(const uint8_t* data, size_t size, const IconImageHeader& h, IconLayers* out, std::string* error) {
  if (h.width <= 0 || h.height <= 0) return Fail(error, "bitmap image of " + SizeText(h.width, h.height) + " pixels");
  if (h.width > kMaxDecodedSide || h.height > kMaxDecodedSide)
    return Fail(error, "bitmap image of " + SizeText(h.width, h.height) + " pixels, more than " + std::to_string(kMaxDecodedSide));
  const uint16_t depth = h.bitCount;
  if (h.planes != 1 || (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32))
    return Fail(error, "bitmap image of " + std::to_string(h.planes) + " planes of " + std::to_string(depth) +
                           " bits, not 1, 4, 8, 16, 24 or 32 bits");
  const bool bitfields = h.compression == kBiBitfields;
  if (h.compression != kBiRgb && !(bitfields && (depth == 16 || depth == 32)))
    return Fail(error, "bitmap image compressed with method " + std::to_string(h.compression));

  // The colour table follows the header (and, for BI_BITFIELDS with a 40-byte header,
  // the three masks): biClrUsed entries, at most 256, or 2^depth when it is 0.
  const uint64_t tableAt = bitfields && h.headerSize < kBitmapInfoHeaderSize + 12 ? kBitmapInfoHeaderSize + 12
                                                                                   : h.headerSize;
  uint32_t entries = h.clrUsed > 256 ? 256 : h.clrUsed;
  if (entries == 0 && depth <= 8) entries = 1u << depth;
  const uint64_t stride = static_cast<uint64_t>(RowStride(depth, 1, h.width));
  const uint64_t maskStride = static_cast<uint64_t>(RowStride(1, 1, h.width));
  const uint64_t colourAt = tableAt + uint64_t(entries) * 4;
  const uint64_t maskAt = colourAt + stride * uint64_t(h.height);
  if (maskAt + maskStride * uint64_t(h.height) > size)
    return Fail(error, "bitmap image cut short: its header claims " +
                           std::to_string(maskAt + maskStride * uint64_t(h.height)) + " bytes, it holds " +
                           std::to_string(size));

  rt::ByteReader masks(data, size);
  masks.seek(kBitmapInfoHeaderSize);
  const Field red(bitfields ? masks.u32() : depth == 16 ? 0x7C00u : 0xFF0000u);
  const Field green(bitfields ? masks.u32() : depth == 16 ? 0x03E0u : 0x00FF00u);
  const Field blue(bitfields ? masks.u32() : depth == 16 ? 0x001Fu : 0x0000FFu);
  const uint8_t* table = data + tableAt;

  const size_t w = static_cast<size_t>(h.width), rows = static_cast<size_t>(h.height);
  RgbaImage& image = out->colour;
  image.width = h.width;
  image.height = h.height;
  image.pixels.assign(w * rows * 4, 0);
  out->mask.assign(w * rows, 0);
  bool alpha = false;
  for (size_t y = 0; y < rows; ++y) {
    const uint8_t* row = data + colourAt + stride * (rows - 1 - y);  // stored bottom-up
    uint8_t* px = image.pixels.data() + y * w * 4;
    for (size_t x = 0; x < w; ++x, px += 4) {
      if (depth <= 8) {
        const uint32_t perByte = 8u / depth;
        const uint32_t index = (row[x / perByte] >> (8 - depth * (1 + x % perByte))) & ((1u << depth) - 1);
        if (index < entries) {  // an index past the table is black
          px[0] = table[index * 4 + 2];
          px[1] = table[index * 4 + 1];
          px[2] = table[index * 4];
        }
        continue;
      }
      uint32_t pixel = 0;
      if (depth == 16) {
        pixel = row[x * 2] | uint32_t(row[x * 2 + 1]) << 8;
      } else if (depth == 24) {
        pixel = row[x * 3] | uint32_t(row[x * 3 + 1]) << 8 | uint32_t(row[x * 3 + 2]) << 16;
      } else {
        pixel = row[x * 4] | uint32_t(row[x * 4 + 1]) << 8 | uint32_t(row[x * 4 + 2]) << 16;
        px[3] = row[x * 4 + 3];
        alpha = alpha || px[3] != 0;
      }
      px[0] = red.Of(pixel);
      px[1] = green.Of(pixel);
      px[2] = blue.Of(pixel);
    }
  }

  out->alpha = alpha;
  for (size_t y = 0; y < rows; ++y) {
    const uint8_t* maskRow = data + maskAt + maskStride * (rows - 1 - y);
    for (size_t x = 0; x < w; ++x) out->mask[y * w + x] = (maskRow[x / 8] >> (7 - x % 8)) & 1;
  }
  return true;
}

bool DecodeDibImage(const uint8_t* data, size_t size, const IconImageHeader& h, DecodedIcon* out,
                    std::string* error) {
  IconLayers layers;
  if (!ReadLayers(data, size, h, &layers, error)) return false;
  out->image = std::move(layers.colour);
  out->alpha = layers.alpha;
  out->invertedPixels = 0;
  if (layers.alpha) {  // the alpha bytes decide; the mask is not looked at
    ClearTransparent(&out->image);
    return true;
  }
  uint8_t* px = out->image.pixels.data();
  for (size_t i = 0; i < layers.mask.size(); ++i, px += 4) {
    if (!layers.mask[i]) {
      px[3] = 255;
      continue;
    }
    if (px[0] | px[1] | px[2]) ++out->invertedPixels;
    px[0] = px[1] = px[2] = px[3] = 0;
  }
  return true;
}

}  // namespace

bool CheckPngHeader(const IconImageHeader& h, const DirectorySides* directory, std::string* error) {
  if (h.width > kMaxDecodedSide || h.height > kMaxDecodedSide)
    return Fail(error, "PNG image of " + SizeText(h.width, h.height) + " pixels, more than " + std::to_string(kMaxDecodedSide));
  if (directory && (!SideAgrees(directory->width, h.width) || !SideAgrees(directory->height, h.height)))
    return Fail(error, "PNG image of " + SizeText(h.width, h.height) + " pixels, its directory entry says " +
                           SizeText(directory->width, directory->height));
  return true;
}

bool DecodeBitmapLayers(const uint8_t* data, size_t size, IconLayers* out, std::string* error) {
  const std::optional<IconImageHeader> h = ReadIconImageHeader(data, size);
  if (!h || h->format != ImageFormat::Dib) return Fail(error, "not a bitmap image");
  return ReadLayers(data, size, *h, out, error);
}

bool DecodeIconImage(const uint8_t* data, size_t size, const DirectorySides* directory, DecodedIcon* out,
                     std::string* error) {
  const std::optional<IconImageHeader> h = ReadIconImageHeader(data, size);
  if (!h) return Fail(error, HasPngSignature(data, size) ? "PNG image without a valid header" : "image header damaged or cut short");
  return h->format == ImageFormat::Png ? DecodePngImage(data, size, *h, directory, out, error)
                                       : DecodeDibImage(data, size, *h, out, error);
}

}  // namespace iconres
