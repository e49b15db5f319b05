// One icon group in memory: its images in directory order, each with the fields that
// the writers need, derived from the image's own bytes.  Plain data over bytes: no
// platform calls here, so everything is testable directly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace iconres {

enum class ImageFormat {
  Dib,  // begins with a BITMAPINFOHEADER: colour (XOR) rows then mask (AND) rows
  Png,  // a PNG stream, kept byte for byte
};

// Offsets of BITMAPINFOHEADER fields used by the library.
constexpr size_t kBiSize = 0, kBiWidth = 4, kBiHeight = 8, kBiPlanes = 12, kBiBitCount = 14,
                 kBiSizeImage = 20, kBiClrUsed = 32;
constexpr uint32_t kBitmapInfoHeaderSize = 40;

struct IconImageEntry {
  ImageFormat format = ImageFormat::Dib;
  int32_t width = 0;      // biWidth, or the PNG width
  int32_t height = 0;     // biHeight / 2 (colour and mask stacked), or the PNG height
  int32_t colorBits = 0;  // biBitCount x biPlanes, or PNG bit depth x channels
  uint16_t planes = 0;    // biPlanes; 1 for PNG
  uint16_t bitCount = 0;  // biBitCount; colorBits for PNG
  uint32_t paletteBytes = 0;  // DIB only: palette entries x 4, truncated to 16 bits
  int64_t rowStride = 0;      // DIB only: colour row size rounded up to 32 bits (may be negative)
  // The image exactly as stored: `size` bytes at `offset` of a store shared with what it
  // was read from (a module's icon data, an .ico file), so that entries naming one image
  // hold it once and a group costs no more memory than its source.
  std::shared_ptr<const std::vector<uint8_t>> store;
  size_t offset = 0;
  uint32_t size = 0;

  const uint8_t* data() const { return store->data() + offset; }
  uint32_t length() const { return size; }
  std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(data(), data() + size); }
  bool IsDib() const { return format == ImageFormat::Dib; }
  // DIB views into the image; the header and palette are known to lie inside it.
  const uint8_t* header() const { return data(); }
  uint32_t HeaderSize() const;  // biSize
  size_t XorOffset() const { return HeaderSize() + paletteBytes; }
};

struct IconImageSet {
  std::vector<IconImageEntry> images;  // in the group's directory order
  uint32_t count() const { return static_cast<uint32_t>(images.size()); }
  // The first image that is a DIB (the .bmp and clipboard targets take it), or null.
  const IconImageEntry* FirstDib() const;
};

// Derives an entry from an image's bytes.  A PNG is recognised by its signature and
// described by its IHDR chunk; anything else must be a DIB whose header (at least 40
// bytes, biSize within the image) and palette lie inside the bytes, and for an
// uncompressed one its colour and mask rows too.  Returns nothing for an image that is
// neither or is cut short, so that its group is not loadable; `why` then says which
// ("is not an icon image", "is shorter than its header says (104 of 4264 bytes)").
std::optional<IconImageEntry> MakeImageEntry(std::shared_ptr<const std::vector<uint8_t>> store, size_t offset,
                                             size_t length, std::string* why = nullptr);
// The same over bytes of its own.
std::optional<IconImageEntry> MakeImageEntry(std::vector<uint8_t> bytes);

bool HasPngSignature(const uint8_t* data, size_t size);

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 0;
  uint8_t colorType = 0;
  int32_t BitsPerPixel() const;  // bit depth x channels; 0 for an unknown colour type
};
// The IHDR chunk that must follow the signature; nothing when it is missing or short.
std::optional<PngHeader> ReadPngHeader(const uint8_t* data, size_t size);

// Palette entries of a DIB: biClrUsed when set, else 2/16/256 for 1/4/8 bits, else 0.
uint32_t PaletteEntries(uint32_t clrUsed, uint16_t bitCount);
// ((bitCount x planes x width + 31) >> 5) x 4, with an arithmetic shift; 64-bit so
// that no header value can overflow it.
int64_t RowStride(uint16_t bitCount, uint16_t planes, int32_t width);

}  // namespace iconres
