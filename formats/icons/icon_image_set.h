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

#include "formats/icons/icon_image_header.h"

namespace iconres {

struct IconImageEntry {
  ImageFormat format = ImageFormat::Dib;
  int32_t width = 0;      // biWidth, or the PNG width
  int32_t height = 0;     // biHeight / 2 (colour and mask stacked), or the PNG height
  int32_t colorBits = 0;  // biBitCount x biPlanes, or PNG bit depth x channels
  uint16_t planes = 0;    // biPlanes; 1 for PNG
  uint16_t bitCount = 0;  // biBitCount; colorBits for PNG
  uint32_t paletteBytes = 0;  // DIB only: palette entries x 4, truncated to 16 bits
  int64_t rowStride = 0;      // DIB only: colour row size rounded up to 32 bits (may be negative)
  // The width and height bytes of the directory entry that named the image (0 stands
  // for 256 or more); a PNG's own header must agree with them to be decoded.
  uint8_t directoryWidth = 0;
  uint8_t directoryHeight = 0;
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

// Derives an entry from an image's bytes, through the image's own header
// (ReadIconImageHeader): a PNG described by its IHDR chunk, or a DIB whose header and
// palette lie inside the bytes, and for an uncompressed one its colour and mask rows
// too.  Returns nothing for an image that is neither or is cut short, so that its group
// is not loadable; `why` then says which ("is not an icon image", "is shorter than its
// header says (104 of 4264 bytes)").
std::optional<IconImageEntry> MakeImageEntry(std::shared_ptr<const std::vector<uint8_t>> store, size_t offset,
                                             size_t length, std::string* why = nullptr);
// The same over bytes of its own.
std::optional<IconImageEntry> MakeImageEntry(std::vector<uint8_t> bytes);

}  // namespace iconres
