// Small text helpers over code page 936 paths.  A byte from 0x81 to 0xFE starts a
// two-byte character whose second byte may look like an ASCII letter or a backslash,
// so every helper steps over such pairs as units.
#pragma once
#include <string>

namespace iconres {

// ASCII letters lower-cased; two-byte characters left untouched.
std::string LowerText(const std::string& text);
// The last three characters, lower-cased, when all three are single-byte; otherwise
// the empty text (a two-byte character never matches an extension).
std::string LastThreeLower(const std::string& text);
// The folder part of a path (up to, not including, the last backslash or slash);
// "." when the path names no folder.
std::string FolderOf(const std::string& path);
// The part after the last backslash or slash: the file name, or the empty text when
// the path ends in a separator.
std::string FileNameOf(const std::string& path);

}  // namespace iconres
