#include "iconres/folder_paths.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "iconres/icon_library.h"
#include "runtime/values.h"

namespace iconres {
namespace {

// Shell folders of selectors 1 to 8.
constexpr int kShellFolders[] = {CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                                 CSIDL_STARTMENU, CSIDL_PROGRAMS,  CSIDL_STARTUP,          CSIDL_APPDATA};

}  // namespace

std::string WholeDirectory(DirectoryFill fill) {
  std::vector<char> buffer(MAX_PATH);
  for (int attempt = 0; attempt < 4; ++attempt) {
    UINT n = fill(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.assign(n + 1, 0);  // n is the size needed, terminator included
  }
  return {};
}

std::string WithTrailingBackslash(std::string path) {
  // A trail byte of a two-byte character can be 0x5C too, but the last byte of a
  // folder path that ends in such a character is not a separator.
  bool endsInSeparator = false;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
      ++i;
      endsInSeparator = false;
    } else {
      endsInSeparator = c == '\\';
    }
  }
  if (!path.empty() && !endsInSeparator) path += '\\';
  return path;
}

std::string SpecialFolderPath(int32_t selector) {
  std::string path;
  if (selector >= 1 && selector <= 8) {
    char buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, buffer, kShellFolders[selector - 1], FALSE)) return {};
    buffer[MAX_PATH - 1] = 0;
    path = buffer;
  } else if (selector == 9) {
    path = WholeDirectory([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
  } else if (selector == 10) {
    path = WholeDirectory([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
  } else if (selector == 11) {
    path = WholeDirectory([](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); });
  }
  return WithTrailingBackslash(path);
}

void __cdecl GetSpecialFolder(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  char* text = nullptr;
  try {
    int32_t selector = (args && argc >= 1) ? static_cast<int32_t>(args[0].value) : 0;
    text = ShellLink().NewText(SpecialFolderPath(selector).c_str());
  } catch (...) {
    text = nullptr;
  }
  rt::SetTextResult(result, text);
}

}  // namespace iconres
