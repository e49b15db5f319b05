// The directory at the start of an icon file (.ico), a cursor file (.cur) and an
// RT_GROUP_ICON resource: a 6-byte header (reserved, type, image count), then one entry
// per image: width, height, colour count, reserved, planes, bit count, byte size, and
// last the image's offset in the file (4 bytes) or, in a group resource, its RT_ICON id
// (2 bytes).  A cursor file keeps its hot spot in the planes and bit-count fields.
// Plain functions over bytes, free of the platform's headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace rt {

constexpr size_t kIconDirectoryHeaderSize = 6;
constexpr size_t kIconFileEntrySize = 16;
constexpr size_t kIconGroupEntrySize = 14;

enum class IconDirectoryKind {
  IconFile,    // type 1, entries of 16 bytes
  CursorFile,  // type 2, entries of 16 bytes
  Group,       // RT_GROUP_ICON, entries of 14 bytes; its header is not checked
};

struct IconDirectoryEntry {
  uint8_t width = 0;  // 0 stands for 256
  uint8_t height = 0;
  uint8_t colourCount = 0;
  uint16_t planes = 0;    // a cursor file: the hot spot's x
  uint16_t bitCount = 0;  // a cursor file: the hot spot's y
  uint32_t byteSize = 0;  // the image's length as the directory states it
  uint32_t offset = 0;    // a file: where the image starts
  uint16_t id = 0;        // a group resource: the RT_ICON resource
};

// The first `limit` entries (all by default) in directory order.  Nothing when the
// directory holds fewer of them than its header claims, when a file's header is not
// {0, its type}, or when the image of a file's entry lies outside the data.
std::optional<std::vector<IconDirectoryEntry>> ParseIconDirectory(const uint8_t* data, size_t size,
                                                                  IconDirectoryKind kind, size_t limit = SIZE_MAX);

}  // namespace rt
