#include "app/window_icon.h"

#include "formats/byte_reader.h"

namespace app {

std::vector<uint8_t> WindowIconFile() {
  constexpr int kSize = 16;
  constexpr uint32_t kPixelBytes = kSize * kSize * 4;
  constexpr uint32_t kMaskBytes = kSize * 4;  // 1-bit rows padded to 32 bits
  constexpr uint32_t kImageBytes = 40 + kPixelBytes + kMaskBytes;

  rt::ByteAppender out;
  // Icon header and the one directory entry.
  out.u16(0);
  out.u16(1);
  out.u16(1);
  out.u8(kSize);
  out.u8(kSize);
  out.u8(0);   // colour count: 0 for 32 bits
  out.u8(0);
  out.u16(1);  // planes
  out.u16(32);
  out.u32(kImageBytes);
  out.u32(6 + 16);
  // BITMAPINFOHEADER: colour and mask stacked, so twice the height.
  out.u32(40);
  out.i32(kSize);
  out.i32(kSize * 2);
  out.u16(1);
  out.u16(32);
  for (int i = 0; i < 6; ++i) out.u32(0);
  // Pixels bottom-up, BGRA: a blue tile with a lighter frame and a yellow diamond.
  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      const bool frame = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
      const int dx = x * 2 - (kSize - 1), dy = y * 2 - (kSize - 1);
      const bool diamond = (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) <= 11;
      uint8_t b = 0xC0, g = 0x60, r = 0x20;
      if (frame) b = 0xF0, g = 0xB0, r = 0x80;
      else if (diamond) b = 0x20, g = 0xD0, r = 0xF8;
      out.u8(b);
      out.u8(g);
      out.u8(r);
      out.u8(0xFF);
    }
  }
  for (uint32_t i = 0; i < kMaskBytes; ++i) out.u8(0);  // every pixel opaque
  return out.take();
}

}  // namespace app
