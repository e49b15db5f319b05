#include "iconres/bmp_writer.h"

#include "iconres/file_replace.h"
#include "formats/byte_reader.h"

namespace iconres {

std::optional<std::vector<uint8_t>> BuildBitmapFile(const IconImageEntry& entry) {
  if (!entry.IsDib()) return std::nullopt;
  // The pixels start after the image's own header and palette (54 + palette bytes for
  // the usual 40-byte header).
  uint64_t offBits = kBitmapFileHeaderSize + uint64_t(entry.HeaderSize()) + entry.paletteBytes;
  if (entry.rowStride < 0 || entry.height < 0) return std::nullopt;
  uint64_t colourBytes = uint64_t(entry.rowStride) * uint64_t(entry.height);
  uint64_t imagePart = offBits - kBitmapFileHeaderSize + colourBytes;
  if (imagePart > entry.length() || offBits + colourBytes > 0xFFFFFFFFu) return std::nullopt;

  rt::ByteAppender out;
  out.u8('B');
  out.u8('M');
  out.u32(static_cast<uint32_t>(offBits + colourBytes));
  out.u16(0);
  out.u16(0);
  out.u32(static_cast<uint32_t>(offBits));
  size_t at = out.size();
  out.bytes(entry.data(), static_cast<size_t>(imagePart));
  // The stored height counts colour and mask rows; the bitmap holds the colour rows only.
  out.patch32(at + kBiHeight, static_cast<uint32_t>(entry.height));
  return out.take();
}

bool WriteBitmapFile(const IconImageEntry& entry, const std::string& path) {
  std::optional<std::vector<uint8_t>> bytes = BuildBitmapFile(entry);
  return bytes && ReplaceFileWith(path, *bytes);
}

}  // namespace iconres
