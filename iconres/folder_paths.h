// GetSpecialFolder: the path of one of eleven well-known folders, ending in a
// backslash.  Argument 1 (integer, tag not examined) selects it:
//   1 documents, 2 favourites, 3 desktop folder, 4 fonts, 5 start menu,
//   6 start-menu programs, 7 start-up programs, 8 application data,
//   9 Windows folder, 10 system folder, 11 temporary folder.
// Result: a new text owned by the caller (library 5's RuntimeService allocation), or
// the empty text when the folder cannot be obtained or the selector names none.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/values.h"

namespace iconres {

// The folder's whole path with one trailing backslash; empty on failure.  Paths of
// any length are returned whole, never truncated.
std::string SpecialFolderPath(int32_t selector);

// A directory function's whole result: a function that returns the length it wrote,
// or the size it needs when the buffer is too small, is called again with a buffer of
// that size.  Empty when it reports 0.
using DirectoryFill = unsigned int (*)(char* buffer, unsigned int size);
std::string WholeDirectory(DirectoryFill fill);

// Appends a backslash unless the path is empty or already ends in one.
std::string WithTrailingBackslash(std::string path);

void __cdecl GetSpecialFolder(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace iconres
