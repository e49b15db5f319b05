// Writes the files that the thumbnail tests and the benchmark ask thumbnails of, made
// byte by byte (tests/icon_images.h):
//   thumbnail_samples FOLDER
// pe32.dll      a PE32 library whose first group holds a 256-pixel PNG image and
//               bitmaps of 48 (32-bit), 32 (4-bit) and 16 (1-bit) pixels
// pe64.exe      a PE32+ program whose first group holds 128 (32-bit), 48 (8-bit) and
//               16 (4-bit) pixel bitmaps
// ne.icl        a 16-bit NE icon library whose first group holds 32 and 16 pixels
// noicons.dll   a PE32 library without resources
// damaged.exe   pe32.dll cut off inside its resource section
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/icon_images.h"

int main(int argc, char** argv) {
  using namespace iconmodules;
  if (argc != 2) {
    std::fprintf(stderr, "usage: thumbnail_samples FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const Bytes pe32 = BuildPeIconModule(
      {{PngImage(256, 3), BitmapImage(48, 32, 4), BitmapImage(32, 4, 5), BitmapImage(16, 1, 6)},
       {BitmapImage(32, 8, 7)}},
      false);
  const Bytes pe64 = BuildPeIconModule(
      {{BitmapImage(16, 4, 8), BitmapImage(128, 32, 9), BitmapImage(48, 8, 10)}, {PngImage(256, 11)}}, true);
  const Bytes damaged(pe32.begin(), pe32.begin() + 0x200 + 0x100);
  // pe32.dll with its resource directory entry (the third data directory, after the
  // PE32 optional header's first 96 bytes at 0x58) cleared: a module without icons.
  Bytes noIcons = pe32;
  std::fill(noIcons.begin() + 0x58 + 96 + 2 * 8, noIcons.begin() + 0x58 + 96 + 3 * 8, uint8_t{0});
  const bool ok = WriteBytes(folder + "/pe32.dll", pe32) && WriteBytes(folder + "/pe64.exe", pe64) &&
                  WriteBytes(folder + "/ne.icl", BuildNeIconLibrary(SampleNeGroups())) &&
                  WriteBytes(folder + "/noicons.dll", noIcons) &&
                  WriteBytes(folder + "/damaged.exe", damaged);
  if (!ok) std::fprintf(stderr, "thumbnail_samples: cannot write into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
