// PNG streams to and from straight 8-bit RGBA pixels, through a well-kept codec of the
// platform: libpng in the Linux build (png_codec_posix.cpp), the Windows imaging
// component (WIC) in the Windows build (png_codec_win32.cpp).  Both give the same
// pixels for the same stream: every colour type is expanded to RGBA (a palette or tRNS
// chunk giving alpha), 16-bit samples are scaled to 8 bits as RoundTo8Bits does, and no
// gamma or colour profile is applied.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace iconres {

struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // height rows of width pixels, top-down: R, G, B, A (not premultiplied)
  // A size of at least one pixel, and the pixels of that size.
  bool whole() const { return width > 0 && height > 0 && pixels.size() == size_t(width) * size_t(height) * 4; }
};

// The largest width and height that PNG decoding accepts; a larger IHDR fails before
// any pixel memory is taken.
constexpr uint32_t kMaxPngSide = 4096;

// A 16-bit sample as an 8-bit one, rounded to nearest.
inline uint8_t RoundTo8Bits(uint16_t v) { return static_cast<uint8_t>((uint32_t(v) * 255u + 32767u) / 65535u); }

// Decodes a whole PNG stream.  False with a short reason for a damaged or truncated
// stream, or one wider or taller than kMaxPngSide.
bool DecodePng(const uint8_t* data, size_t size, RgbaImage* image, std::string* error);

// Encodes 8-bit RGBA (colour type 6), not interlaced.  False with a reason when the
// codec fails.
bool EncodePng(const RgbaImage& image, std::vector<uint8_t>* png, std::string* error);

}  // namespace iconres
