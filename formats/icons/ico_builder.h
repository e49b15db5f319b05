// The .ico file format as this system writes it: a 6-byte header, one 16-byte
// directory entry per image, then the images back to back in set order.  Plain
// functions over bytes, shared by the library's writer and the command-line tool.
#pragma once
#include <cstdint>
#include <vector>

#include "formats/byte_sink.h"
#include "formats/icons/icon_image_set.h"

namespace iconres {

constexpr uint32_t kIconHeaderSize = 6;
constexpr uint32_t kIconDirEntrySize = 16;

// Colour-count byte of a directory entry: 1 << (planes x bit count) below 8 bits, else 0.
uint8_t DirectoryColourCount(uint16_t planes, uint16_t bitCount);

// Icon files larger than this are neither written nor read: a group that names one
// large image thousands of times (which a crafted module or .ico can do in a few
// megabytes) would otherwise need gigabytes.
constexpr uint64_t kMaxIconFileSize = 256u << 20;

// The size of the file that holds set.
uint64_t IconFileSize(const IconImageSet& set);

// Writes the file to out: the header and directory, then each image from where it lies
// (a DIB with biSizeImage 0, a PNG unchanged), in pieces of at most a few hundred KiB, so
// that memory does not grow with the file.  The set itself is never modified.  False
// when out fails, or when the file would be larger than kMaxIconFileSize (then nothing
// is written).
bool StreamIconFile(const IconImageSet& set, ByteSink& out);

// The whole file in memory; empty when it would be larger than kMaxIconFileSize.
std::vector<uint8_t> BuildIconFile(const IconImageSet& set);

}  // namespace iconres
