#include "components/image_list_data.h"

#include <cstring>

#include "runtime/byte_reader.h"

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

bool GetBit(const uint8_t* line, size_t x) { return (line[x / 8] >> (7 - x % 8)) & 1; }
void PutBit(uint8_t* line, size_t x, bool on) {
  const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
  line[x / 8] = static_cast<uint8_t>(on ? line[x / 8] | bit : line[x / 8] & ~bit);
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

// Compares bytes with the scan lines written bottom-up; advances *data on a match.
bool SameLinesBottomUp(const uint8_t** data, const std::vector<uint8_t>& lines, size_t stride) {
  for (size_t y = lines.size() / stride; y-- > 0; *data += stride)
    if (std::memcmp(*data, lines.data() + y * stride, stride) != 0) return false;
  return true;
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

void TiledImageList::AddTileRow() {
  colour_.resize(colour_.size() + colourStride() * header_.cy, 0);
  if (hasMask()) mask_.resize(mask_.size() + maskStride() * header_.cy, 0);
}

bool TiledImageList::Parse(const uint8_t* data, size_t size) {
  ImageListStreamHeader header;
  if (!ReadImageListStreamHeader(data, size, &header)) return false;
  if (header.version != kStreamVersion || (header.flags & kColourDepthFlags) != kColour32Flag) return false;
  if (header.cx == 0 || header.cy == 0 || header.cx > kLargestImageSide || header.cy > kLargestImageSide) return false;

  TiledImageList list;
  list.header_ = header;
  const int rows = header.count == 0 ? 1 : (header.count + kTilesPerRow - 1) / kTilesPerRow;
  const size_t lines = static_cast<size_t>(rows) * header.cy;
  // A list with images must carry both bitmaps whole.  They are checked before the tiles
  // are allocated, so a header that claims many images costs no more than the data holds.
  BitmapFile colour, mask;
  if (header.count > 0) {
    rt::ByteReader r(data, size);
    r.skip(kImageListPrefixSize + 28);
    const int32_t width = header.cx * kTilesPerRow;
    if (!ReadBitmapFile(r, width, 32, lines, &colour)) return false;
    if (list.hasMask() && !ReadBitmapFile(r, width, 1, lines, &mask)) return false;
  }
  for (int i = 0; i < rows; ++i) list.AddTileRow();
  if (header.count > 0) {
    for (size_t y = 0; y < lines; ++y) {
      std::memcpy(list.colour_.data() + y * list.colourStride(), colour.Line(y), list.colourStride());
      if (list.hasMask()) std::memcpy(list.mask_.data() + y * list.maskStride(), mask.Line(y), list.maskStride());
    }
  }
  *this = std::move(list);
  return true;
}

bool TiledImageList::AppendFrom(const TiledImageList& from, int index) {
  if (from.header_.cx != header_.cx || from.header_.cy != header_.cy || from.hasMask() != hasMask()) return false;
  if (index < 0 || index >= from.count() || header_.count == 0xFFFF || header_.cy == 0) return false;
  const int at = header_.count;
  if (at >= tileRows() * kTilesPerRow) AddTileRow();

  const size_t cx = header_.cx, cy = header_.cy;
  const size_t fromX = static_cast<size_t>(index % kTilesPerRow) * cx, toX = static_cast<size_t>(at % kTilesPerRow) * cx;
  const size_t fromY = static_cast<size_t>(index / kTilesPerRow) * cy, toY = static_cast<size_t>(at / kTilesPerRow) * cy;
  for (size_t y = 0; y < cy; ++y) {
    std::memcpy(colour_.data() + (toY + y) * colourStride() + toX * 4,
                from.colour_.data() + (fromY + y) * from.colourStride() + fromX * 4, cx * 4);
    if (!hasMask()) continue;
    const uint8_t* src = from.mask_.data() + (fromY + y) * from.maskStride();
    uint8_t* dst = mask_.data() + (toY + y) * maskStride();
    for (size_t x = 0; x < cx; ++x) PutBit(dst, toX + x, GetBit(src, fromX + x));
  }
  header_.count = static_cast<uint16_t>(at + 1);
  return true;
}

std::vector<uint8_t> TiledImageList::HeadBytes() const {
  rt::ByteAppender w;
  w.bytes("MITL", 4);
  w.u32(kImageListColourWord);
  w.u16(kStreamMagic);
  w.u16(kStreamVersion);
  w.u16(header_.count);
  w.u16(static_cast<uint16_t>(tileRows() * kTilesPerRow));
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

bool TiledImageList::IsSerialisedAs(const uint8_t* data, size_t size) const {
  if (header_.cy == 0 || !data) return false;
  const std::vector<uint8_t> head = HeadBytes(), maskHead = MaskHeadBytes();
  if (size != head.size() + colour_.size() + maskHead.size() + mask_.size()) return false;
  if (std::memcmp(data, head.data(), head.size()) != 0) return false;
  data += head.size();
  if (!SameLinesBottomUp(&data, colour_, colourStride())) return false;
  if (!hasMask()) return true;
  if (std::memcmp(data, maskHead.data(), maskHead.size()) != 0) return false;
  data += maskHead.size();
  return SameLinesBottomUp(&data, mask_, maskStride());
}

}  // namespace comp
