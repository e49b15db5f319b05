#include "formats/records/image_list_data.h"

#include <algorithm>
#include <cstring>

#include "formats/byte_reader.h"

namespace comp {
namespace {

constexpr uint16_t kStreamMagic = 0x4C49;  // "IL"
constexpr uint16_t kStreamVersion = 0x0101;
constexpr uint16_t kBitmapMagic = 0x4D42;  // "BM"
constexpr uint16_t kColourDepthFlags = 0x00FE;
constexpr uint16_t kColour32Flag = 0x0020;
constexpr uint16_t kMaskFlag = 0x0001;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaskPaletteSize = 8;
constexpr int kLargestImageSide = 256;
constexpr int kMaxRows = 16384;

size_t StrideOf(int32_t width, int bits) { return ((static_cast<size_t>(width) * bits + 31) / 32) * 4; }

// One bitmap file of the stream, positioned at its pixels.
struct BitmapFile {
  const uint8_t* pixels = nullptr;
  size_t stride = 0;
  size_t rows = 0;
  bool bottomUp = true;

  // Scan line `y` counted from the top.
  const uint8_t* Line(size_t y) const { return pixels + (bottomUp ? rows - 1 - y : y) * stride; }
};

// Reads a bitmap file of `width` pixels and `bits` per pixel with at least `minRows`
// lines.  A one-bit bitmap must carry the palette black, white.  The pixels follow the
// headers and the palette directly, as the platform's image-list reader expects.
bool ReadBitmapFile(rt::ByteReader& r, int32_t width, uint16_t bits, size_t minRows, BitmapFile* out) {
  if (r.u16() != kBitmapMagic) return false;
  r.skip(12);
  if (r.u32() != kInfoHeaderSize) return false;
  const int32_t w = r.i32();
  const int32_t h = r.i32();
  const uint16_t planes = r.u16();
  const uint16_t depth = r.u16();
  const uint32_t compression = r.u32();
  r.skip(12);
  const uint32_t coloursUsed = r.u32();
  r.skip(4);
  if (!r.ok() || w != width || planes != 1 || depth != bits || compression != 0) return false;
  if (bits == 1) {
    if (coloursUsed != 0 && coloursUsed != 2) return false;
    const uint32_t black = r.u32() & 0x00FFFFFF;
    const uint32_t white = r.u32() & 0x00FFFFFF;
    if (!r.ok() || black != 0 || white != 0x00FFFFFF) return false;
  } else if (coloursUsed != 0) {
    return false;
  }
  if (h == 0 || h < -65535 || h > 65535) return false;
  out->rows = static_cast<size_t>(h < 0 ? -h : h);
  out->bottomUp = h > 0;
  out->stride = StrideOf(width, bits);
  if (out->rows < minRows) return false;
  out->pixels = r.here();
  return r.skip(out->stride * out->rows);
}

void AppendBitmapFileHeader(rt::ByteAppender* w, int32_t width, int32_t height, uint16_t bits,
                            uint32_t paletteSize, uint32_t pixelBytes) {
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + paletteSize;
  w->u16(kBitmapMagic);
  w->u32(offset + pixelBytes);
  w->u32(0);
  w->u32(offset);
  w->u32(kInfoHeaderSize);
  w->i32(width);
  w->i32(height);  // positive: lines from the bottom up
  w->u16(1);
  w->u16(bits);
  w->u32(0);  // uncompressed
  w->u32(pixelBytes);
  w->u32(0);
  w->u32(0);
  w->u32(0);
  w->u32(0);
  if (paletteSize) {
    w->u32(0x00000000);
    w->u32(0x00FFFFFF);
  }
}

// Writes the scan lines of a bitmap kept top-down as a bottom-up bitmap; returns the end.
uint8_t* WriteLinesBottomUp(uint8_t* out, const std::vector<uint8_t>& lines, size_t stride) {
  for (size_t y = lines.size() / stride; y-- > 0; out += stride) std::memcpy(out, lines.data() + y * stride, stride);
  return out;
}

}  // namespace

bool IsImageListData(const uint8_t* data, size_t size) {
  return data && size > kImageListPrefixSize && std::memcmp(data, "MITL", 4) == 0;
}

bool ReadImageListStreamHeader(const uint8_t* data, size_t size, ImageListStreamHeader* header) {
  if (!IsImageListData(data, size)) return false;
  rt::ByteReader r(data, size);
  r.skip(kImageListPrefixSize);
  if (r.u16() != kStreamMagic) return false;
  header->version = r.u16();
  header->count = r.u16();
  header->capacity = r.u16();
  header->growth = r.u16();
  header->cx = r.u16();
  header->cy = r.u16();
  header->background = r.u32();
  header->flags = r.u16();
  for (int16_t& overlay : header->overlays) overlay = r.i16();
  return r.ok();
}

bool TiledImageList::hasMask() const { return (header_.flags & kMaskFlag) != 0; }
size_t TiledImageList::colourStride() const { return StrideOf(header_.cx * kTilesPerRow, 32); }
size_t TiledImageList::maskStride() const { return StrideOf(header_.cx * kTilesPerRow, 1); }
int TiledImageList::tileRows() const {
  return header_.cy ? static_cast<int>(colour_.size() / (colourStride() * header_.cy)) : 0;
}

void TiledImageList::ReserveRows(int rows) {
  if (rows <= tileRows()) return;
  colour_.resize(colourStride() * header_.cy * rows, 0);
  if (hasMask()) mask_.resize(maskStride() * header_.cy * rows, 0);
}

void TiledImageList::Grow() {
  // Doubling keeps the rewrites of a growing list to a few; 16,384 rows hold 65,536 images.
  ReserveRows(std::min(std::max(1, 2 * tileRows()), kMaxRows));
}

void TiledImageList::Place(int at, const uint8_t* colourRows, size_t colourPitch, size_t colourX,
                           const uint8_t* maskRows, size_t maskPitch, size_t maskX) {
  const size_t cx = header_.cx, cy = header_.cy;
  const size_t toX = static_cast<size_t>(at % kTilesPerRow) * cx, toY = static_cast<size_t>(at / kTilesPerRow) * cy;
  for (size_t y = 0; y < cy; ++y) {
    std::memcpy(colour_.data() + (toY + y) * colourStride() + toX * 4, colourRows + y * colourPitch + colourX * 4, cx * 4);
    if (!hasMask()) continue;
    const uint8_t* src = maskRows + y * maskPitch;
    uint8_t* dst = mask_.data() + (toY + y) * maskStride();
    for (size_t x = 0; x < cx; ++x) SetMaskBit(dst, toX + x, MaskBit(src, maskX + x));
  }
  header_.count = static_cast<uint16_t>(at + 1);
}

bool ReadTiledLayout(const uint8_t* data, size_t size, TiledLayout* out) {
  TiledLayout layout;
  ImageListStreamHeader& header = layout.header;
  if (!ReadImageListStreamHeader(data, size, &header)) return false;
  if (header.version != kStreamVersion || (header.flags & kColourDepthFlags) != kColour32Flag) return false;
  if (header.cx == 0 || header.cy == 0 || header.cx > kLargestImageSide || header.cy > kLargestImageSide) return false;
  const bool mask = (header.flags & kMaskFlag) != 0;
  const int rows = (header.count + TiledImageList::kTilesPerRow - 1) / TiledImageList::kTilesPerRow;
  const size_t lines = static_cast<size_t>(rows) * header.cy;
  // A list with images must carry both bitmaps whole; an empty one may stop after its header.
  rt::ByteReader r(data, size);
  r.skip(kImageListPrefixSize + 28);
  const int32_t width = header.cx * TiledImageList::kTilesPerRow;
  BitmapFile colourBitmap, maskBitmap;
  layout.hasBitmaps = ReadBitmapFile(r, width, 32, lines, &colourBitmap) &&
                      (!mask || ReadBitmapFile(r, width, 1, lines, &maskBitmap));
  if (!layout.hasBitmaps && header.count > 0) return false;
  if (layout.hasBitmaps) {
    layout.colour = {static_cast<size_t>(colourBitmap.pixels - data), colourBitmap.stride, colourBitmap.rows,
                     colourBitmap.bottomUp};
    if (mask)
      layout.mask = {static_cast<size_t>(maskBitmap.pixels - data), maskBitmap.stride, maskBitmap.rows,
                     maskBitmap.bottomUp};
  }
  *out = layout;
  return true;
}

bool HasRoomForOneMore(const TiledLayout& layout) {
  const ImageListStreamHeader& h = layout.header;
  if (!layout.hasBitmaps || h.count == 0xFFFF) return false;
  const size_t lines = static_cast<size_t>(h.count / TiledImageList::kTilesPerRow + 1) * h.cy;
  return layout.colour.rows >= lines && ((h.flags & kMaskFlag) == 0 || layout.mask.rows >= lines);
}

void AppendTileInPlace(uint8_t* data, const TiledLayout& layout, const IconTile& tile) {
  const ImageListStreamHeader& h = layout.header;
  const int at = h.count;
  const size_t toX = static_cast<size_t>(at % TiledImageList::kTilesPerRow) * h.cx;
  const size_t top = static_cast<size_t>(at / TiledImageList::kTilesPerRow) * h.cy;
  const size_t tileMaskStride = StrideOf(tile.cx, 1);
  for (size_t y = 0; y < h.cy; ++y) {
    std::memcpy(data + layout.colour.Line(top + y) + toX * 4, tile.colour.data() + y * tile.cx * 4,
                static_cast<size_t>(tile.cx) * 4);
    if ((h.flags & kMaskFlag) == 0) continue;
    uint8_t* line = data + layout.mask.Line(top + y);
    for (size_t x = 0; x < h.cx; ++x) SetMaskBit(line, toX + x, MaskBit(tile.mask.data() + y * tileMaskStride, x));
  }
  // The count, and a capacity that covers it (stream header words 2 and 3).
  const uint16_t count = static_cast<uint16_t>(at + 1);
  rt::ByteReader r(data, kImageListPrefixSize + 8);
  r.skip(kImageListPrefixSize + 6);
  const uint16_t capacity = std::max(r.u16(), count);
  for (auto [at16, value] : {std::pair<size_t, uint16_t>{kImageListPrefixSize + 4, count},
                             std::pair<size_t, uint16_t>{kImageListPrefixSize + 6, capacity}}) {
    data[at16] = static_cast<uint8_t>(value);
    data[at16 + 1] = static_cast<uint8_t>(value >> 8);
  }
}

bool TiledImageList::Parse(const uint8_t* data, size_t size) {
  TiledLayout layout;
  if (!ReadTiledLayout(data, size, &layout)) return false;
  TiledImageList list;
  list.header_ = layout.header;
  const int rows = list.header_.count == 0 ? 1 : (list.header_.count + kTilesPerRow - 1) / kTilesPerRow;
  list.ReserveRows(rows);
  if (list.header_.count > 0) {
    const size_t lines = static_cast<size_t>(rows) * list.header_.cy;
    for (size_t y = 0; y < lines; ++y) {
      std::memcpy(list.colour_.data() + y * list.colourStride(), data + layout.colour.Line(y), list.colourStride());
      if (list.hasMask())
        std::memcpy(list.mask_.data() + y * list.maskStride(), data + layout.mask.Line(y), list.maskStride());
    }
  }
  *this = std::move(list);
  return true;
}

bool TiledImageList::AppendFrom(const TiledImageList& from, int index) {
  if (from.header_.cx != header_.cx || from.header_.cy != header_.cy || from.hasMask() != hasMask()) return false;
  if (index < 0 || index >= from.count() || header_.count == 0xFFFF || header_.cy == 0) return false;
  const int at = header_.count;
  if (at >= tileRows() * kTilesPerRow) Grow();
  const size_t fromX = static_cast<size_t>(index % kTilesPerRow) * header_.cx;
  const size_t fromY = static_cast<size_t>(index / kTilesPerRow) * header_.cy;
  Place(at, from.colour_.data() + fromY * from.colourStride(), from.colourStride(), fromX,
        hasMask() ? from.mask_.data() + fromY * from.maskStride() : nullptr, from.maskStride(), fromX);
  return true;
}

bool TiledImageList::AppendTile(const IconTile& tile) {
  if (tile.cx != header_.cx || tile.cy != header_.cy || header_.count == 0xFFFF || header_.cy == 0) return false;
  const size_t tileMaskStride = StrideOf(tile.cx, 1);
  if (tile.colour.size() != static_cast<size_t>(tile.cx) * tile.cy * 4 || tile.mask.size() != tileMaskStride * tile.cy)
    return false;
  const int at = header_.count;
  if (at >= tileRows() * kTilesPerRow) Grow();
  Place(at, tile.colour.data(), static_cast<size_t>(tile.cx) * 4, 0, tile.mask.data(), tileMaskStride, 0);
  return true;
}

std::vector<uint8_t> TiledImageList::HeadBytes() const {
  rt::ByteAppender w;
  w.bytes("MITL", 4);
  w.u32(kImageListColourWord);
  w.u16(kStreamMagic);
  w.u16(kStreamVersion);
  w.u16(header_.count);
  w.u16(static_cast<uint16_t>(std::min(tileRows() * kTilesPerRow, 0xFFFF)));
  w.u16(header_.growth);
  w.u16(header_.cx);
  w.u16(header_.cy);
  w.u32(header_.background);
  w.u16(header_.flags);
  for (int16_t overlay : header_.overlays) w.i16(overlay);
  AppendBitmapFileHeader(&w, header_.cx * kTilesPerRow, tileRows() * header_.cy, 32, 0,
                         static_cast<uint32_t>(colour_.size()));
  return w.take();
}

std::vector<uint8_t> TiledImageList::MaskHeadBytes() const {
  rt::ByteAppender w;
  if (hasMask())
    AppendBitmapFileHeader(&w, header_.cx * kTilesPerRow, tileRows() * header_.cy, 1, kMaskPaletteSize,
                           static_cast<uint32_t>(mask_.size()));
  return w.take();
}

size_t TiledImageList::SerialisedSize() const {
  return HeadBytes().size() + colour_.size() + MaskHeadBytes().size() + mask_.size();
}

void TiledImageList::SerialiseInto(uint8_t* out) const {
  const std::vector<uint8_t> head = HeadBytes(), maskHead = MaskHeadBytes();
  std::memcpy(out, head.data(), head.size());
  out = WriteLinesBottomUp(out + head.size(), colour_, colourStride());
  if (!hasMask()) return;
  std::memcpy(out, maskHead.data(), maskHead.size());
  WriteLinesBottomUp(out + maskHead.size(), mask_, maskStride());
}

std::vector<uint8_t> TiledImageList::Serialise() const {
  std::vector<uint8_t> out(SerialisedSize());
  SerialiseInto(out.data());
  return out;
}

}  // namespace comp
