#include "components/picture.h"

#include <vector>

#include "runtime/byte_reader.h"

namespace comp {

bool Picture::Decode(const uint8_t* data, size_t size) {
  Reset();
  if (!data || size < 6) return false;
  if (data[0] == 'B' && data[1] == 'M') return DecodeBitmap(data, size);
  return DecodeIcon(data, size);
}

void Picture::Reset() {
  if (icon_) DestroyIcon(icon_);
  if (bitmap_) DeleteObject(bitmap_);
  icon_ = nullptr;
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

// Icon file: {reserved 0, type 1, count}, then 16-byte directory entries.  The
// largest image (then the deepest colour) is taken.
bool Picture::DecodeIcon(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  if (r.u16() != 0 || r.u16() != 1) return false;
  uint16_t count = r.u16();
  if (!r.ok() || count == 0) return false;
  int bestArea = -1, bestBits = -1;
  uint32_t bestOffset = 0, bestSize = 0;
  int bestW = 0, bestH = 0;
  for (uint16_t i = 0; i < count; ++i) {
    int w = r.u8(), h = r.u8();
    r.skip(4);  // colour count, reserved, planes
    int bits = r.u16();
    uint32_t bytes = r.u32();
    uint32_t offset = r.u32();
    if (!r.ok()) return false;
    if (w == 0) w = 256;
    if (h == 0) h = 256;
    if (offset > size || bytes > size - offset || bytes < 40) continue;
    if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
      bestArea = w * h;
      bestBits = bits;
      bestOffset = offset;
      bestSize = bytes;
      bestW = w;
      bestH = h;
    }
  }
  if (bestArea < 0) return false;
  // CreateIconFromResourceEx may modify nothing, but takes a non-const pointer.
  std::vector<uint8_t> image(data + bestOffset, data + bestOffset + bestSize);
  icon_ = CreateIconFromResourceEx(image.data(), bestSize, TRUE, 0x00030000, bestW, bestH, LR_DEFAULTCOLOR);
  if (!icon_) return false;
  width_ = bestW;
  height_ = bestH;
  return true;
}

// BMP file: 14-byte file header, then a BITMAPINFOHEADER (or larger), the colour
// table and the pixel rows at bfOffBits.  Only uncompressed and bit-field images.
bool Picture::DecodeBitmap(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  r.skip(10);
  uint32_t offBits = r.u32();
  uint32_t headerSize = r.u32();
  if (!r.ok() || headerSize < 40 || headerSize > size - 14) return false;
  BITMAPINFOHEADER bih = {};
  bih.biSize = sizeof(BITMAPINFOHEADER);
  bih.biWidth = r.i32();
  bih.biHeight = r.i32();
  bih.biPlanes = r.u16();
  bih.biBitCount = r.u16();
  bih.biCompression = r.u32();
  r.skip(12);
  bih.biClrUsed = r.u32();
  r.skip(4);
  if (!r.ok()) return false;
  int bpp = bih.biBitCount;
  if (bih.biWidth <= 0 || bih.biHeight == 0 || bih.biWidth > 32767 || bih.biHeight > 32767 ||
      bih.biHeight < -32767)
    return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (bih.biCompression != BI_RGB && bih.biCompression != BI_BITFIELDS) return false;
  if (bih.biCompression == BI_BITFIELDS && bpp != 16 && bpp != 32) return false;
  uint32_t colours = bih.biClrUsed;
  if (bpp <= 8 && (colours == 0 || colours > (1u << bpp))) colours = 1u << bpp;
  if (bpp > 8) colours = 0;
  uint32_t masks = (bih.biCompression == BI_BITFIELDS) ? 3 : 0;
  size_t tableAt = 14 + headerSize;
  size_t tableBytes = (colours + masks) * 4;
  uint64_t stride = ((static_cast<uint64_t>(bih.biWidth) * bpp + 31) / 32) * 4;
  uint64_t rows = bih.biHeight < 0 ? -static_cast<int64_t>(bih.biHeight) : bih.biHeight;
  uint64_t pixelBytes = stride * rows;
  if (tableAt + tableBytes > size || offBits > size || pixelBytes > size - offBits) return false;
  // Header, masks and colour table, laid out as the platform expects.
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + tableBytes);
  rt::ByteAppender a;
  a.u32(bih.biSize);
  a.i32(bih.biWidth);
  a.i32(bih.biHeight);
  a.u16(1);
  a.u16(bih.biBitCount);
  a.u32(bih.biCompression);
  for (int i = 0; i < 3; ++i) a.u32(0);
  a.u32(colours);
  a.u32(0);
  a.bytes(data + tableAt, tableBytes);
  info = a.take();
  HDC screen = GetDC(nullptr);
  bitmap_ = CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(info.data()), CBM_INIT,
                           data + offBits, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (!bitmap_) return false;
  width_ = bih.biWidth;
  height_ = static_cast<int>(rows);
  return true;
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
  if (icon_) {
    DrawIconEx(dc, x, y, icon_, w, h, 0, nullptr, DI_NORMAL);
  } else if (bitmap_) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap_);
    if (w == width_ && h == height_) {
      BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
    } else {
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, x, y, w, h, mem, 0, 0, width_, height_, SRCCOPY);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
  }
}

}  // namespace comp
