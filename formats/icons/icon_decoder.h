// One icon image (an RT_ICON resource or an image of an .ico file) as straight 8-bit
// RGBA pixels: what the platform shows when it draws the icon at its own size.  Plain
// C++ over bytes; PNG images go through the platform's PNG codec (png_codec.h).
//
// Bitmap images: size and depth come from the image's own BITMAPINFOHEADER.  Depths 1,
// 4 and 8 (a palette of biClrUsed entries, 0 meaning 2^depth; an index past the palette
// is black), 16 (5-5-5), 24 and 32 with BI_RGB; 16 and 32 with BI_BITFIELDS (three
// masks after a 40-byte header, or inside a larger one).  Rows are bottom-up and padded
// to 4 bytes, for the colour rows and the mask rows alike; biHeight counts both.
//
// Transparency:
// - a 32-bit image (BI_BITFIELDS too) with any non-zero alpha byte, the fourth byte of
//   each pixel, uses its alpha and ignores its mask;
// - every other image is opaque where its mask bit is 0 and transparent where it is 1;
// - where the mask is 1 but the colour is not black, the platform draws the pixel by
//   inverting what lies beneath (the screen XOR the colour).  A picture cannot invert,
//   so such a pixel is transparent, as the platform's own image lists store it: the
//   icon keeps the shape its mask gives it.  These pixels are counted.
// Every fully transparent pixel is 0, 0, 0, 0.
//
// Bounds: an image whose header or rows claim more than its bytes hold, a side over
// kMaxDecodedSide, an unknown depth or compression, and a PNG whose IHDR disagrees with
// the directory entry that named it all fail with a reason.  Memory is the output (4
// bytes a pixel) plus a byte a pixel for the mask, or for PNG the codec's own rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/icons/icon_image_header.h"
#include "formats/icons/png_codec.h"

namespace iconres {

constexpr int32_t kMaxDecodedSide = static_cast<int32_t>(kMaxPngSide);

// The width and height bytes of a directory entry: 0 stands for 256 or more.
struct DirectorySides {
  uint8_t width = 0;
  uint8_t height = 0;
};

struct DecodedIcon {
  RgbaImage image;
  bool alpha = false;         // transparency from alpha (PNG, 32 bits), not from the mask
  size_t invertedPixels = 0;  // mask 1 over a colour that is not black; made transparent
};

// Decodes one image.  `directory` (optional) names the entry that the image was found
// through: a PNG must agree with it, each side byte being 0 (256 and more, or any size:
// many writers store 0 for every PNG image) or the side's low 8 bits (the side itself
// below 256; old resource compilers truncated larger ones).  False with a short reason
// on failure.
bool DecodeIconImage(const uint8_t* data, size_t size, const DirectorySides* directory, DecodedIcon* out,
                     std::string* error);

// The checks of a PNG image's header that decoding makes first: sides within
// kMaxDecodedSide and in agreement with the directory entry (optional), as above.
bool CheckPngHeader(const IconImageHeader& header, const DirectorySides* directory, std::string* error);

// The two layers of a bitmap image as stored, before they are put together: each
// pixel's colour (R, G, B, and for 32 bits its alpha byte, else 0) and its AND mask bit
// (one byte a pixel, 1 where set), both top-down.  Image lists keep these by rules of
// their own.  Same bounds and failures as DecodeIconImage; PNG streams fail.
struct IconLayers {
  RgbaImage colour;
  std::vector<uint8_t> mask;
  bool alpha = false;  // 32 bits with an alpha byte that is not 0
};
bool DecodeBitmapLayers(const uint8_t* data, size_t size, IconLayers* out, std::string* error);

}  // namespace iconres
