#include "components/picture.h"

#include <vector>

#include "formats/icons/icon_directory.h"
#include "formats/byte_reader.h"

namespace comp {

bool Picture::Decode(const uint8_t* data, size_t size) {
  Reset();
  if (!data || size < 6) return false;
  if (data[0] == 'B' && data[1] == 'M') return DecodeBitmap(data, size);
  return DecodeIcon(data, size);
}

void Picture::Reset() {
  icon_.reset();
  bitmap_.reset();
  width_ = height_ = 0;
}

HICON CreateIconFromImage(const uint8_t* image, uint32_t length, int cx, int cy) {
  // CreateIconFromResourceEx changes nothing, but takes a non-const pointer.
  std::vector<uint8_t> copy(image, image + length);
  return CreateIconFromResourceEx(copy.data(), length, TRUE, 0x00030000, cx, cy, LR_DEFAULTCOLOR);
}

// The largest image of an icon file (then the deepest colour); images too short for a
// bitmap header are passed over.
bool Picture::DecodeIcon(const uint8_t* data, size_t size) {
  const auto entries = rt::ParseIconDirectory(data, size, rt::IconDirectoryKind::IconFile);
  if (!entries) return false;
  const rt::IconDirectoryEntry* best = nullptr;
  int bestArea = -1;
  for (const rt::IconDirectoryEntry& e : *entries) {
    if (e.byteSize < 40) continue;
    const int area = IconSide(e.width) * IconSide(e.height);
    if (area > bestArea || (area == bestArea && e.bitCount > best->bitCount)) {
      best = &e;
      bestArea = area;
    }
  }
  if (!best) return false;
  const int w = IconSide(best->width), h = IconSide(best->height);
  icon_.reset(CreateIconFromImage(data + best->offset, best->byteSize, w, h));
  if (!icon_) return false;
  width_ = w;
  height_ = h;
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
  rt::WindowDC screen(nullptr);
  bitmap_.reset(CreateDIBitmap(screen.get(), reinterpret_cast<const BITMAPINFOHEADER*>(info.data()), CBM_INIT,
                               data + offBits, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS));
  if (!bitmap_) return false;
  width_ = bih.biWidth;
  height_ = static_cast<int>(rows);
  return true;
}

void Picture::Draw(HDC dc, int x, int y, int w, int h) const {
  if (icon_) {
    DrawIconEx(dc, x, y, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
  } else if (bitmap_) {
    rt::MemoryDC mem(CreateCompatibleDC(dc));
    rt::SelectedObject selected(mem.get(), bitmap_.get());
    if (w == width_ && h == height_) {
      BitBlt(dc, x, y, w, h, mem.get(), 0, 0, SRCCOPY);
    } else {
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, x, y, w, h, mem.get(), 0, 0, width_, height_, SRCCOPY);
    }
  }
}

}  // namespace comp
