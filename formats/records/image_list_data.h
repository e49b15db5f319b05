// The image-list data format shared by the image-list commands and the ListView's
// image-list properties: "MITL", the word 0xFF000000, then the platform's image-list
// stream.  The stream is a 28-byte header ("IL", version 0x0101, image count,
// capacity, growth, image size, background, flags, four overlay indexes), the colour
// bitmap and, when the flags ask for a mask, the mask bitmap, each as a bitmap file.
// Both bitmaps hold the images in rows of four tiles.
//
// Plain functions over bytes; no platform call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/icons/icon_tile.h"

namespace comp {

constexpr uint32_t kImageListColourWord = 0xFF000000;
constexpr size_t kImageListPrefixSize = 8;

struct ImageListStreamHeader {
  uint16_t version = 0;
  uint16_t count = 0;
  uint16_t capacity = 0;
  uint16_t growth = 0;
  uint16_t cx = 0;
  uint16_t cy = 0;
  uint32_t background = 0;
  uint16_t flags = 0;
  int16_t overlays[4] = {-1, -1, -1, -1};
};

// True for data of more than 8 bytes that starts with "MITL".
bool IsImageListData(const uint8_t* data, size_t size);
// Reads the stream header after the prefix; false when the data is no image list or
// ends inside the header.
bool ReadImageListStreamHeader(const uint8_t* data, size_t size, ImageListStreamHeader* header);

// Where the parts of list data that TiledImageList reads lie, found without copying
// its pixels.
struct TiledLayout {
  struct Bitmap {
    size_t pixels = 0;  // offset in the data
    size_t stride = 0;
    size_t rows = 0;
    bool bottomUp = true;
    // Offset of scan line `y` counted from the top.
    size_t Line(size_t y) const { return pixels + (bottomUp ? rows - 1 - y : y) * stride; }
  };
  ImageListStreamHeader header;
  bool hasBitmaps = false;  // an empty list may end after its header
  Bitmap colour;
  Bitmap mask;  // when the flags ask for one
};

// Reads the layout of data that TiledImageList::Parse accepts; false for other data.
bool ReadTiledLayout(const uint8_t* data, size_t size, TiledLayout* out);
// True when the data's bitmaps have the scan lines for one more image.
bool HasRoomForOneMore(const TiledLayout& layout);
// Writes a tile of the list's image size as the next image into the data itself and
// counts it, leaving every other byte as it was.  Needs HasRoomForOneMore.
void AppendTileInPlace(uint8_t* data, const TiledLayout& layout, const IconTile& tile);

// A list of 32-bit images held as the tiles of its two bitmaps, so that appending an
// image and writing the whole list are plain copies of scan lines.
class TiledImageList {
 public:
  static constexpr int kTilesPerRow = 4;

  // Reads image-list data whose colour bitmap holds 32-bit pixels four tiles wide and,
  // when the flags ask for a mask, whose mask is a black-and-white bitmap of the same
  // size.  A list without images needs only its header.  False for anything else: the
  // caller then goes through the platform.
  bool Parse(const uint8_t* data, size_t size);

  int count() const { return header_.count; }
  const ImageListStreamHeader& header() const { return header_; }
  bool hasMask() const;

  // Appends image `index` of `from`, which must have the same image size and mask
  // kind; false (and nothing changed) otherwise or when the list is full.  The tile
  // rows grow by doubling, so the capacity written with the list may exceed the count.
  bool AppendFrom(const TiledImageList& from, int index);
  // Appends a decoded icon of the list's image size; false otherwise or when full.
  bool AppendTile(const IconTile& tile);

  // The whole data: prefix, stream header, colour bitmap file, mask bitmap file.
  std::vector<uint8_t> Serialise() const;
  size_t SerialisedSize() const;
  // Writes exactly SerialisedSize() bytes.
  void SerialiseInto(uint8_t* out) const;

 private:
  // The prefix, stream header and colour bitmap file header; then the mask's headers.
  std::vector<uint8_t> HeadBytes() const;
  std::vector<uint8_t> MaskHeadBytes() const;

  size_t colourStride() const;
  size_t maskStride() const;
  int tileRows() const;
  void ReserveRows(int rows);
  void Grow();
  // Copies one image into slot `at` (which becomes the last) from scan lines of another
  // bitmap, starting at pixel colourX / maskX of each line.
  void Place(int at, const uint8_t* colourRows, size_t colourPitch, size_t colourX, const uint8_t* maskRows,
             size_t maskPitch, size_t maskX);

  ImageListStreamHeader header_;
  // Scan lines from the top: tileRows() * cy lines each for colour and mask.
  std::vector<uint8_t> colour_;
  std::vector<uint8_t> mask_;
};

}  // namespace comp
