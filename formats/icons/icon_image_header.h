// The header at the start of one icon image (an RT_ICON resource or an image of an
// .ico file): a BITMAPINFOHEADER for a bitmap image (colour rows, then mask rows, the
// stored height counting both), or the signature and IHDR chunk of a PNG stream.  What
// an image is (size, depth, kind) is read from here, never from the directory entry
// that names it.  Plain functions over bytes, free of the platform's headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

namespace iconres {

enum class ImageFormat {
  Dib,  // begins with a BITMAPINFOHEADER: colour (XOR) rows then mask (AND) rows
  Png,  // a PNG stream, kept byte for byte
};

// Offsets of BITMAPINFOHEADER fields used by the library.
constexpr size_t kBiSize = 0, kBiWidth = 4, kBiHeight = 8, kBiPlanes = 12, kBiBitCount = 14, kBiCompression = 16,
                 kBiSizeImage = 20, kBiClrUsed = 32;
constexpr uint32_t kBitmapInfoHeaderSize = 40;
// biCompression values of icon images.
constexpr uint32_t kBiRgb = 0, kBiBitfields = 3;

bool HasPngSignature(const uint8_t* data, size_t size);

struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 0;
  uint8_t colorType = 0;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  uint8_t interlace = 0;  // 0 none, 1 Adam7
  int32_t BitsPerPixel() const;  // bit depth x channels; 0 for an unknown colour type
};
// The IHDR chunk that must follow the signature; nothing when it is missing or short.
std::optional<PngHeader> ReadPngHeader(const uint8_t* data, size_t size);

// Palette entries of a DIB: biClrUsed when set, else 2/16/256 for 1/4/8 bits, else 0.
uint32_t PaletteEntries(uint32_t clrUsed, uint16_t bitCount);
// ((bitCount x planes x width + 31) >> 5) x 4, with an arithmetic shift; 64-bit so
// that no header value can overflow it.
int64_t RowStride(uint16_t bitCount, uint16_t planes, int32_t width);

struct IconImageHeader {
  ImageFormat format = ImageFormat::Dib;
  int32_t width = 0;      // biWidth, or the PNG width
  int32_t height = 0;     // biHeight / 2 (colour and mask stacked), or the PNG height
  uint16_t planes = 0;    // biPlanes; 1 for PNG
  uint16_t bitCount = 0;  // biBitCount; bits per pixel for PNG
  // Both 16-bit fields can be anything: their product is taken in 32 bits unsigned
  // (wrapping as the platform's 32-bit arithmetic does), never as an overflowing int.
  int32_t ColorBits() const { return static_cast<int32_t>(uint32_t(planes) * bitCount); }
  // DIB only.
  uint32_t headerSize = 0;   // biSize: where the masks (BI_BITFIELDS) or the palette begin
  int32_t storedHeight = 0;  // biHeight as stored
  uint32_t compression = 0;  // biCompression
  uint32_t clrUsed = 0;      // biClrUsed
  // PNG only.
  PngHeader png;
};

// Reads an image's header.  A PNG is recognised by its signature and must have an IHDR
// with a known colour type and sides from 1 to 0x7FFFFFFF; anything else must be a DIB
// whose header (at least 40 bytes, biSize within the image) and palette (as many
// entries as PaletteEntries says, truncated to 16 bits of bytes) lie inside the bytes.
// Nothing for an image that is neither.
std::optional<IconImageHeader> ReadIconImageHeader(const uint8_t* data, size_t size);

// The width or height byte of a directory entry for an image side: the side itself
// from 1 to 255, and 0 (which readers take as 256) for 256 and more or a side that is
// no size at all.
uint8_t DirectorySide(int64_t pixels);

}  // namespace iconres
