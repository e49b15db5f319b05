#include "iconres/ico_reader.h"

#include <windows.h>

#include <vector>

#include "formats/icons/ico_builder.h"
#include "formats/icons/ico_parser.h"
#include "runtime/handles.h"

namespace iconres {
std::optional<IconImageSet> ReadIconFile(const std::string& path) {
  rt::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
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
  return ParseIconFile(std::make_shared<const std::vector<uint8_t>>(std::move(data)));
}

}  // namespace iconres
