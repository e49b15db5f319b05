// Writes the byte-built inputs of the command-line tests into a folder, for both builds
// of extract-icons to read (built by the native tree, run by tests/cli/native_test.sh):
//   test_inputs FOLDER
// FOLDER/damaged/ holds modules damaged in one place each, next to good groups;
// FOLDER/repeated.dll names one image 65,535 times in one group.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/icon_images.h"

namespace {

using iconmodules::Bytes;
using iconmodules::Put16;
using iconmodules::Put32;
using iconmodules::WriteBytes;

// Where `part` first occurs in `bytes`.
size_t Find(const Bytes& bytes, const Bytes& part) {
  for (size_t at = 0; at + part.size() <= bytes.size(); ++at)
    if (std::equal(part.begin(), part.end(), bytes.begin() + at)) return at;
  std::fprintf(stderr, "test_inputs: pattern not found\n");
  std::exit(1);
}

// Three groups of one image each: 32x32 4-bit, `second`, 16x16 32-bit.
std::vector<std::vector<Bytes>> ThreeGroups(const Bytes& second) {
  return {{iconmodules::BitmapImage(32, 4, 1)}, {second}, {iconmodules::BitmapImage(16, 32, 3)}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: test_inputs FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1], damaged = folder + "/damaged/";
  const Bytes second = iconmodules::BitmapImage(32, 32, 2);
  const Bytes pe = iconmodules::BuildPeIconModule(ThreeGroups(second), false);
  bool ok = WriteBytes(folder + "/repeated.dll", iconmodules::RepeatedEntryModule());

  // The data entry of image 2 claims 0xFFFFFFF0 bytes.  The builder places the section
  // (RVA 0x1000) at file offset 0x200, and each data entry holds the data's RVA, then
  // its size.
  Bytes huge = pe;
  const uint32_t rva = static_cast<uint32_t>(Find(huge, second) - 0x200 + 0x1000);
  Bytes entry(4);
  Put32(entry, 0, rva);
  Put32(huge, Find(huge, entry) + 4, 0xFFFFFFF0u);
  ok = ok && WriteBytes(damaged + "huge-size.dll", huge);

  // Image 2 is a 32x32 32-bit bitmap cut to 104 bytes.
  ok = ok && WriteBytes(damaged + "short-image.dll",
                   iconmodules::BuildPeIconModule(ThreeGroups(Bytes(second.begin(), second.begin() + 104)), false));

  // Group 2 names image 999, which does not exist.
  Bytes missing = pe;
  const Bytes directory = iconmodules::GroupDirectory({second}, 2);
  Put16(missing, Find(missing, directory) + directory.size() - 2, 999);
  ok = ok && WriteBytes(damaged + "missing-image.dll", missing);

  // Cut in the optional header, in the section table, in the resource directory.
  ok = ok && WriteBytes(damaged + "cut-header.dll", Bytes(pe.begin(), pe.begin() + 0x40 + 24 + 100));
  ok = ok && WriteBytes(damaged + "cut-sections.dll", Bytes(pe.begin(), pe.begin() + 0x150));
  ok = ok && WriteBytes(damaged + "cut-resources.dll", Bytes(pe.begin(), pe.begin() + 0x208));

  // NE: an alignment shift of 200, and group 3's data far outside the file.
  const Bytes ne = iconmodules::BuildNeIconLibrary(iconmodules::SampleNeGroups());
  constexpr size_t kTable = 0x40 + 0x40;  // the resource table (see BuildNeIconLibrary)
  Bytes shift = ne;
  Put16(shift, kTable, 200);
  ok = ok && WriteBytes(damaged + "ne-shift.icl", shift);
  // The group blocks follow the 10 icons: table shift (2), icon type block (8 + 12 x 10),
  // group type block header (8), then 12 bytes per group starting with its offset.
  Bytes outside = ne;
  Put16(outside, kTable + 2 + 8 + 12 * 10 + 8 + 12 * 2, 0xFFF0);
  ok = ok && WriteBytes(damaged + "ne-group-outside.icl", outside);
  if (!ok) std::perror(folder.c_str());
  return ok ? 0 : 1;
}
