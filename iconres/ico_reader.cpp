#include "iconres/ico_reader.h"

#include <windows.h>

#include <vector>

#include "iconres/win_handles.h"

namespace iconres {
namespace {

// Larger files are not icon files; refusing them keeps one read bounded.
constexpr uint64_t kMaxIconFileSize = 256u << 20;

}  // namespace

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
