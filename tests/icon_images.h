// Icon data made to order for the tests, the benchmarks and the fuzz seeds: mixed icon
// images (bitmaps of 1 to 32 bits, 256-pixel PNG streams), group directories, 16-bit NE
// icon libraries and crafted groups, all built byte by byte with no platform call.
#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "formats/byte_reader.h"

namespace iconmodules {

using Bytes = std::vector<uint8_t>;

// Little-endian values written over made bytes, to damage them in one place.
inline void Put32(Bytes& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void Put16(Bytes& bytes, size_t at, uint16_t v) {
  bytes[at] = static_cast<uint8_t>(v);
  bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Writes made bytes to a file (the native programs that write test inputs).
inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// A bitmap icon image of 1, 4, 8, 24 or 32 bits per pixel (32 with or without alpha):
// header, palette (2, 16 or 256 colours), colour rows, mask rows.  The pattern depends
// on `seed`, so images differ; the first two pixels of each row are masked.
inline Bytes BitmapImage(int32_t size, uint16_t bits, int seed, bool alpha = true) {
  rt::ByteAppender w;
  const uint32_t stride = ((bits * size + 31) / 32) * 4, maskStride = ((size + 31) / 32) * 4;
  const uint32_t palette = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  w.u32(40); w.i32(size); w.i32(size * 2); w.u16(1); w.u16(bits); w.u32(0);
  w.u32((stride + maskStride) * size);
  w.i32(0); w.i32(0); w.u32(bits == 4 ? 16 : 0); w.u32(0);
  for (uint32_t c = 0; c < palette; ++c)
    w.u32(palette == 2 ? (c ? 0xFFFFFF : 0) : (c * 0x10305 + static_cast<uint32_t>(seed) * 0x30507) & 0xFFFFFF);
  for (int y = 0; y < size; ++y) {
    rt::ByteAppender row;
    for (int x = 0; x < size; ++x) {
      const int v = (seed + x / 4 + y / 8);
      if (bits == 1) {
        if (x % 8 == 0) row.u8(static_cast<uint8_t>(0xA5 ^ (v * 29)));
      } else if (bits == 4) {
        if (x % 2 == 0) row.u8(static_cast<uint8_t>((1 + (seed + y / 8) % 15) << 4 | (1 + (seed + x / 4 + 3) % 15)));
      } else if (bits == 8) {
        row.u8(static_cast<uint8_t>(v * 7));
      } else {
        const bool inside = (x - size / 2) * (x - size / 2) + (y - size / 2) * (y - size / 2) < size * size / 4;
        row.u8(static_cast<uint8_t>(x * 255 / size)); row.u8(static_cast<uint8_t>(y * 255 / size));
        row.u8(static_cast<uint8_t>(seed * 37));
        if (bits == 32) row.u8(alpha ? (inside ? 255 : static_cast<uint8_t>(x * 4)) : 0);
      }
    }
    while (row.size() < stride) row.u8(0);
    w.bytes(row.data());
  }
  for (uint32_t i = 0; i < maskStride * size; ++i) w.u8((i % maskStride) == 0 ? 0xC0 : 0);
  return w.take();
}

inline uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

inline void PngChunk(Bytes& out, const char* type, const Bytes& data) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(data.size() >> s));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uint32_t crc = Crc32(out.data() + start, out.size() - start);
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(crc >> s));
}

// A size x size RGBA PNG stream; its zlib data is stored without compression.
inline Bytes PngImage(uint32_t size, int seed) {
  Bytes raw;
  for (uint32_t y = 0; y < size; ++y) {
    raw.push_back(0);  // filter: none
    for (uint32_t x = 0; x < size; ++x) {
      const bool inside = (x - size / 2.0) * (x - size / 2.0) + (y - size / 2.0) * (y - size / 2.0) < size * size / 4.5;
      raw.insert(raw.end(), {static_cast<uint8_t>(x + seed * 11), static_cast<uint8_t>(y ^ seed),
                             static_cast<uint8_t>(seed * 53), static_cast<uint8_t>(inside ? 255 : 0)});
    }
  }
  Bytes z = {0x78, 0x01};
  for (size_t at = 0; at < raw.size(); at += 65535) {
    const uint16_t n = static_cast<uint16_t>(raw.size() - at < 65535 ? raw.size() - at : 65535);
    z.push_back(at + n == raw.size() ? 1 : 0);
    z.insert(z.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(~n),
                       static_cast<uint8_t>(~n >> 8)});
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
  }
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  const uint32_t adler = b << 16 | a;
  for (int s = 24; s >= 0; s -= 8) z.push_back(static_cast<uint8_t>(adler >> s));
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  for (uint32_t v : {size, size})
    for (int s = 24; s >= 0; s -= 8) ihdr.push_back(static_cast<uint8_t>(v >> s));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  PngChunk(png, "IHDR", ihdr);
  PngChunk(png, "IDAT", z);
  PngChunk(png, "IEND", {});
  return png;
}

// A bitmap icon image of any size and of 1, 4, 8, 16, 24 or 32 bits, BI_RGB or
// (16 and 32 bits) BI_BITFIELDS with 5-6-5 or 8-8-8 masks after the header.  Its colours
// and mask follow a pattern of `seed` that covers opaque pixels, transparent ones over
// black, and pixels that invert (mask set over a colour).  A palette of `clrUsed`
// entries (0: 2^bits) is indexed past its end too.  32 bits: `alpha` gives alpha bytes
// of 0, 255 and in between; without it every alpha byte is 0.
inline Bytes PatternBitmap(int32_t width, int32_t height, uint16_t bits, int seed, bool bitfields = false,
                           uint32_t clrUsed = 0, bool alpha = true) {
  rt::ByteAppender w;
  const uint32_t stride = ((bits * width + 31) / 32) * 4, maskStride = ((width + 31) / 32) * 4;
  const uint32_t table = bits <= 8 ? (clrUsed ? clrUsed : 1u << bits) : 0;
  w.u32(40); w.i32(width); w.i32(height * 2); w.u16(1); w.u16(bits); w.u32(bitfields ? 3 : 0);
  w.u32(0); w.i32(0); w.i32(0); w.u32(clrUsed); w.u32(0);
  if (bitfields) {
    for (uint32_t m : bits == 16 ? std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}
                                 : std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF})
      w.u32(m);
  }
  for (uint32_t c = 0; c < table; ++c) w.u32(c == 0 ? 0 : (c * 0x2F4A1Bu + static_cast<uint32_t>(seed) * 0x10101u) & 0xFFFFFF);
  auto value = [&](int x, int y) { return static_cast<uint32_t>((x * 7 + y * 13 + seed * 5) * 2654435761u >> 7); };
  auto masked = [&](int x, int y) { return (x + 3 * y + seed) % 5 == 0 || x < 2; };
  for (int y = 0; y < height; ++y) {
    Bytes row(stride, 0);
    for (int x = 0; x < width; ++x) {
      // Some masked pixels are black (transparent) and the others not (inverting).
      uint32_t v = masked(x, y) && (x + y) % 2 ? 0 : value(x, y);
      if (bits <= 8) {
        const uint32_t index = v % (table + (clrUsed ? 2 : 0)) & ((1u << bits) - 1);
        row[x * bits / 8] |= static_cast<uint8_t>(index << (8 - bits - (x * bits) % 8));
      } else {
        for (uint16_t k = 0; k < bits / 8; ++k) row[x * (bits / 8) + k] = static_cast<uint8_t>(v >> (8 * k));
        if (bits == 32) {
          const int a = (x + y + seed) % 4;
          row[x * 4 + 3] = alpha ? static_cast<uint8_t>(a == 0 ? 0 : a == 1 ? 255 : (x * 37 + y * 11) & 0xFF) : 0;
        }
      }
    }
    w.bytes(row);
  }
  for (int y = 0; y < height; ++y) {
    Bytes row(maskStride, 0);
    for (int x = 0; x < width; ++x)
      if (masked(x, y)) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    w.bytes(row);
  }
  return w.take();
}

// The images of group n (0-based) of a generated module: mostly 16-colour and 32-bit
// bitmaps of 16 to 48 pixels, some of 1, 8 and 24 bits and 32 bits without alpha;
// every tenth group holds a 256-pixel PNG, every twentieth only that.
inline std::vector<Bytes> MixedGroupImages(int n) {
  static const uint16_t kOtherBits[4] = {1, 8, 24, 32};
  if (n % 20 == 19) return {PngImage(256, n)};
  if (n % 10 == 9) return {PngImage(256, n), BitmapImage(32, 32, n)};
  if (n % 3 == 0) return {BitmapImage(32, 4, n), BitmapImage(32, 32, n)};
  if (n % 3 == 1) return {BitmapImage(48, 32, n), BitmapImage(16, 4, n)};
  if (n % 7 == 2) return {BitmapImage(32, kOtherBits[(n / 7) % 4], n, false)};
  return {BitmapImage(32, 4, n)};
}

// A group directory naming images firstId, firstId + 1, ...; the entry fields come from
// each image (a PNG is 256 pixels, 32 bits).
inline Bytes GroupDirectory(const std::vector<Bytes>& images, uint16_t firstId) {
  rt::ByteAppender g;
  g.u16(0); g.u16(1); g.u16(static_cast<uint16_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const Bytes& im = images[i];
    const bool png = im.size() > 8 && im[1] == 'P';
    const uint8_t side = png ? 0 : im[4];
    const uint16_t bits = png ? 32 : static_cast<uint16_t>(im[14] | im[15] << 8);
    g.u8(side); g.u8(side); g.u8(bits == 4 ? 16 : 0); g.u8(0); g.u16(1); g.u16(bits);
    g.u32(static_cast<uint32_t>(im.size())); g.u16(static_cast<uint16_t>(firstId + i));
  }
  return g.take();
}

// Images at the edges of the format, one group each: every depth (1 to 32 bits, with
// odd widths), 32 bits with all alpha 0, palettes shorter than their depth, 16-bit
// 5-5-5, BI_BITFIELDS at 16 and 32 bits, a 256-pixel bitmap (stored as 0 in its
// directory entry) and PNG streams of 256 and 320 pixels.
inline std::vector<Bytes> EdgeCaseImages() {
  return {PatternBitmap(17, 13, 1, 1),        PatternBitmap(13, 9, 4, 2),
          PatternBitmap(31, 31, 8, 3),        PatternBitmap(16, 16, 4, 4, false, 5),
          PatternBitmap(20, 20, 8, 5, false, 100), PatternBitmap(21, 21, 16, 6),
          PatternBitmap(20, 18, 16, 7, true), PatternBitmap(15, 15, 24, 8),
          PatternBitmap(32, 32, 32, 9),       PatternBitmap(24, 24, 32, 10, false, 0, false),
          PatternBitmap(16, 16, 32, 11, true), PatternBitmap(1, 1, 32, 12, false, 0, false),
          PatternBitmap(256, 256, 32, 13),    PngImage(256, 14),
          PngImage(320, 15)};
}

// Crafted input: one group whose directory names a single image of about 1 MiB 65,535
// times.  Both files are about 2 MB; written out, the group would be 64 GiB.
constexpr uint16_t kCraftedEntries = 0xFFFF;
inline Bytes CraftedImage() { return BitmapImage(512, 32, 1); }

inline Bytes CraftedIcoFile() {
  const Bytes image = CraftedImage();
  rt::ByteAppender f;
  f.u16(0); f.u16(1); f.u16(kCraftedEntries);
  const uint32_t at = 6 + 16u * kCraftedEntries;
  for (uint32_t i = 0; i < kCraftedEntries; ++i) {
    f.u8(0); f.u8(0); f.u8(0); f.u8(0); f.u16(1); f.u16(32); f.u32(static_cast<uint32_t>(image.size())); f.u32(at);
  }
  f.bytes(image);
  return f.take();
}

// One resource of a built PE module.
struct PeResource {
  uint16_t type, id, language;
  Bytes data;
};

// Icon groups as resources in one language: group ids firstGroup.., their images ids
// firstImage.. in group order; the directories first, then the images.
inline std::vector<PeResource> IconResources(const std::vector<std::vector<Bytes>>& groups, uint16_t language = 0,
                                             uint16_t firstGroup = 1, uint16_t firstImage = 1) {
  std::vector<PeResource> directories, images;
  for (const std::vector<Bytes>& g : groups) {
    const uint16_t group = static_cast<uint16_t>(firstGroup + directories.size());
    directories.push_back({14, group, language, GroupDirectory(g, static_cast<uint16_t>(firstImage + images.size()))});
    for (const Bytes& im : g) images.push_back({3, static_cast<uint16_t>(firstImage + images.size()), language, im});
  }
  directories.insert(directories.end(), images.begin(), images.end());
  return directories;
}

// A minimal PE32 or PE32+ module that holds only resources, in one .rsrc section: the
// directory tree (types, ids and languages ascending), the data entries, then the data
// in the order given.  The section's raw size ends exactly where the last resource's
// data ends, less `rawShort` bytes (the file still holds them); its virtual size is a
// page larger, memory that the loader fills with zeros.
inline Bytes BuildPeModule(const std::vector<PeResource>& resources, bool plus, uint32_t rawShort = 0) {
  std::map<uint16_t, std::map<uint16_t, std::map<uint16_t, size_t>>> tree;  // type, id, language: resource
  for (size_t i = 0; i < resources.size(); ++i) tree[resources[i].type][resources[i].id][resources[i].language] = i;
  const uint32_t kSectionRva = 0x1000, kFileAlign = 0x200;
  auto size = [](size_t entries) { return static_cast<uint32_t>(16 + 8 * entries); };
  const uint32_t typesAt = size(tree.size());
  uint32_t namesAt = typesAt;
  for (const auto& [type, names] : tree) namesAt += size(names.size());
  uint32_t entriesAt = namesAt;
  for (const auto& [type, names] : tree)
    for (const auto& [id, languages] : names) entriesAt += size(languages.size());
  rt::ByteAppender r;
  auto directory = [&](size_t ids) { r.u32(0); r.u32(0); r.u16(0); r.u16(0); r.u16(0); r.u16(static_cast<uint16_t>(ids)); };
  directory(tree.size());
  uint32_t next = typesAt;
  for (const auto& [type, names] : tree) {
    r.u32(type); r.u32(0x80000000u | next);
    next += size(names.size());
  }
  for (const auto& [type, names] : tree) {
    directory(names.size());
    for (const auto& [id, languages] : names) {
      r.u32(id); r.u32(0x80000000u | next);
      next += size(languages.size());
    }
  }
  for (const auto& [type, names] : tree)
    for (const auto& [id, languages] : names) {
      directory(languages.size());
      for (const auto& [language, i] : languages) { r.u32(language); r.u32(entriesAt + 16 * static_cast<uint32_t>(i)); }
    }
  uint32_t dataAt = entriesAt + 16 * static_cast<uint32_t>(resources.size()), dataEnd = dataAt;
  for (const PeResource& res : resources) {
    r.u32(kSectionRva + dataAt); r.u32(static_cast<uint32_t>(res.data.size())); r.u32(0); r.u32(0);
    dataEnd = dataAt + static_cast<uint32_t>(res.data.size());
    dataAt += static_cast<uint32_t>((res.data.size() + 3) & ~size_t(3));
  }
  for (const PeResource& res : resources) {
    r.bytes(res.data);
    while (r.size() % 4) r.u8(0);
  }
  const uint32_t rsrcSize = static_cast<uint32_t>(r.size()), virtualSize = rsrcSize + 0x1000;

  rt::ByteAppender f;
  f.u16(0x5A4D);
  while (f.size() < 0x3C) f.u8(0);
  f.u32(0x40);
  f.u32(0x00004550);  // "PE\0\0"
  const uint16_t optionalSize = plus ? 240 : 224;
  f.u16(plus ? 0x8664 : 0x014C); f.u16(1); f.u32(0); f.u32(0); f.u32(0); f.u16(optionalSize); f.u16(0x2102);
  const size_t optionalAt = f.size();
  f.u16(plus ? 0x20B : 0x10B);
  while (f.size() < optionalAt + 32) f.u8(0);
  f.u32(kSectionRva); f.u32(kFileAlign);  // section and file alignment
  while (f.size() < optionalAt + 56) f.u8(0);
  f.u32(kSectionRva + ((virtualSize + 0xFFF) & ~0xFFFu));  // size of image
  f.u32(kFileAlign);                                       // size of headers
  while (f.size() < optionalAt + (plus ? 108 : 92)) f.u8(0);
  f.u32(16);
  for (int i = 0; i < 16; ++i) {
    f.u32(i == 2 ? kSectionRva : 0);
    f.u32(i == 2 ? rsrcSize : 0);
  }
  f.bytes(".rsrc\0\0\0", 8);
  f.u32(virtualSize); f.u32(kSectionRva); f.u32(dataEnd - rawShort); f.u32(kFileAlign);
  f.u32(0); f.u32(0); f.u16(0); f.u16(0); f.u32(0x40000040);
  while (f.size() < kFileAlign) f.u8(0);
  f.bytes(r.data());
  while (f.size() % kFileAlign) f.u8(0);
  return f.take();
}

// Icon groups (ids 1..n, language 0) and their images (ids 1.., in group order).
inline Bytes BuildPeIconModule(const std::vector<std::vector<Bytes>>& groups, bool plus) {
  return BuildPeModule(IconResources(groups), plus);
}

// A module of 0.9 MB whose one group names one 4,008-byte image 65,535 times: its .ico
// file (252 MiB) stays just below the size the writers accept.
inline Bytes RepeatedEntryModule() {
  const Bytes image = BitmapImage(31, 32, 5);
  rt::ByteAppender g;
  g.u16(0); g.u16(1); g.u16(kCraftedEntries);
  for (uint32_t i = 0; i < kCraftedEntries; ++i) {
    g.u8(31); g.u8(31); g.u8(0); g.u8(0); g.u16(1); g.u16(32); g.u32(static_cast<uint32_t>(image.size())); g.u16(1);
  }
  return BuildPeModule({{14, 1, 0, g.take()}, {3, 1, 0, image}}, false);
}

// One group of an NE icon library: its images, and its name (empty for a number).
struct NeGroup {
  std::vector<Bytes> images;
  std::string name;
};

// A 16-bit icon library: MZ stub, NE header, resource table (alignment shift 4, the
// icons, then the groups, numbered 1.. or named), resident names, then each resource
// padded with 0xCC to 16 bytes.
inline Bytes BuildNeIconLibrary(const std::vector<NeGroup>& groups) {
  constexpr uint32_t kNe = 0x40, kTable = 0x40;  // NE header offset; table offset from it
  size_t imageCount = 0;
  for (const NeGroup& g : groups) imageCount += g.images.size();
  std::vector<Bytes> icons, directories;
  for (const NeGroup& g : groups) {
    directories.push_back(GroupDirectory(g.images, static_cast<uint16_t>(icons.size() + 1)));
    icons.insert(icons.end(), g.images.begin(), g.images.end());
  }
  Bytes names;  // after the type terminator; offsets count from the table's start
  const size_t typesSize = 2 + 2 * 8 + 12 * (imageCount + groups.size()) + 2;
  std::vector<uint16_t> nameIds;
  for (const NeGroup& g : groups) {
    if (g.name.empty()) {
      nameIds.push_back(static_cast<uint16_t>(0x8000 | (nameIds.size() + 1)));
      continue;
    }
    nameIds.push_back(static_cast<uint16_t>(typesSize + names.size()));
    names.push_back(static_cast<uint8_t>(g.name.size()));
    names.insert(names.end(), g.name.begin(), g.name.end());
  }
  names.push_back(0);
  const Bytes resident = {6, 'S', 'A', 'M', 'P', 'L', 'E', 0, 0, 0};
  const uint32_t tableEnd = kTable + static_cast<uint32_t>(typesSize + names.size());
  uint32_t dataAt = (kNe + tableEnd + static_cast<uint32_t>(resident.size()) + 15) & ~15u;

  rt::ByteAppender table;
  table.u16(4);
  auto typeBlock = [&](uint16_t type, const std::vector<Bytes>& items, const std::vector<uint16_t>& ids) {
    table.u16(type); table.u16(static_cast<uint16_t>(items.size())); table.u32(0);
    for (size_t i = 0; i < items.size(); ++i) {
      const uint32_t units = static_cast<uint32_t>((items[i].size() + 15) / 16);
      table.u16(static_cast<uint16_t>(dataAt >> 4)); table.u16(static_cast<uint16_t>(units));
      table.u16(0x0030); table.u16(ids[i]); table.u32(0);
      dataAt += units * 16;
    }
  };
  std::vector<uint16_t> iconIds;
  for (size_t i = 0; i < icons.size(); ++i) iconIds.push_back(static_cast<uint16_t>(0x8000 | (i + 1)));
  typeBlock(0x8003, icons, iconIds);
  typeBlock(0x800E, directories, nameIds);
  table.u16(0);
  table.bytes(names);

  rt::ByteAppender out;
  out.u16(0x5A4D);
  for (int i = 2; i < 0x3C; ++i) out.u8(0);
  out.u32(kNe);
  out.u16(0x454E);  // "NE"
  out.u8(5); out.u8(10);
  for (int at = 4; at < 0x40; at += 2) {
    const uint16_t v = at == 0x24 ? kTable : (at == 0x26 || at == 0x04 || at == 0x22 || at == 0x28 || at == 0x2A)
                                                ? static_cast<uint16_t>(tableEnd)
                                                : at == 0x36 ? 0x0002  // target: Windows
                                                             : 0;
    out.u16(v);
  }
  out.bytes(table.data());
  out.bytes(resident);
  auto pad = [&] { while (out.size() % 16) out.u8(0xCC); };
  pad();
  for (const Bytes& b : icons) { out.bytes(b); pad(); }
  for (const Bytes& b : directories) { out.bytes(b); pad(); }
  return out.take();
}

// Five groups of two images each, one of them named (with a quote, a backslash and a
// byte above 0x7F, which a listing must escape).
inline std::vector<NeGroup> SampleNeGroups() {
  std::vector<NeGroup> groups;
  for (int n = 0; n < 5; ++n)
    groups.push_back({{BitmapImage(32, 4, n), BitmapImage(16, n % 2 ? 32 : 4, n + 7)}, n == 2 ? "NA\"ME\\D\xC0" : ""});
  return groups;
}

// The size of the .ico file that holds a group: header, entries, the images.
inline size_t IcoFileSize(const std::vector<Bytes>& images) {
  size_t size = 6 + 16 * images.size();
  for (const Bytes& b : images) size += b.size();
  return size;
}

}  // namespace iconmodules
