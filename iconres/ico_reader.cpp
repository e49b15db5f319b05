#include "iconres/ico_reader.h"

#include <windows.h>

#include <vector>

#include "iconres/win_handles.h"
#include "runtime/byte_reader.h"

namespace iconres {
namespace {

// Larger files are not icon files; refusing them keeps one read bounded.
constexpr uint64_t kMaxIconFileSize = 256u << 20;

}  // namespace

std::optional<IconImageSet> ParseIconFile(const uint8_t* data, size_t size) {
  rt::ByteReader r(data, size);
  uint16_t reserved = r.u16();
  uint16_t type = r.u16();
  uint16_t count = r.u16();
  if (!r.ok() || reserved != 0 || type != 1) return std::nullopt;

  IconImageSet set;
  set.images.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    r.skip(8);  // width, height, colour count, reserved, planes, bit count
    uint32_t length = r.u32();
    uint32_t offset = r.u32();
    if (!r.ok()) return std::nullopt;  // the directory ends early
    rt::ByteReader image(data, size);
    image.seek(offset);
    std::vector<uint8_t> bytes = image.bytes(length);
    if (!image.ok()) return std::nullopt;
    std::optional<IconImageEntry> entry = MakeImageEntry(std::move(bytes));
    if (!entry) return std::nullopt;
    set.images.push_back(std::move(*entry));
  }
  return set;
}

std::optional<IconImageSet> ReadIconFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!file.valid()) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || uint64_t(size.QuadPart) > kMaxIconFileSize)
    return std::nullopt;
  std::vector<uint8_t> data(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!data.empty() && (!ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
                        read != data.size()))
    return std::nullopt;
  return ParseIconFile(data.data(), data.size());
}

}  // namespace iconres
