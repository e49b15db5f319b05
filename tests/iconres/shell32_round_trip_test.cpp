// Every icon group of the platform's own shell32.dll (Wine's holds a PNG image in
// most groups) written by ExtractFileIcon, read back, and loaded by the platform.
#include <gtest/gtest.h>

#include "extract_call.h"
#include "iconres/ico_reader.h"
#include "icon_test_support.h"
#include "platform_module_icons.h"

using namespace iconres;
using namespace icontest;

namespace {

std::string Shell32Path() {
  char dir[MAX_PATH];
  UINT n = GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir, n) + "\\shell32.dll";
}

}  // namespace

TEST(Shell32RoundTrip, EveryGroupWritesReadsBackAndLoads) {
  const std::string module = Shell32Path();
  const std::optional<std::vector<testref::PlatformGroup>> reference = testref::PlatformIconGroups(module);
  ASSERT_TRUE(reference) << module;
  const int32_t groups = static_cast<int32_t>(reference->size());
  ASSERT_GT(groups, 0);
  TempFolder dir;
  int pngImages = 0;
  for (int32_t n = 1; n <= groups; ++n) {
    SCOPED_TRACE("group " + std::to_string(n));
    std::string path = dir / ("shell32-" + std::to_string(n) + ".ico");
    ASSERT_EQ(ExtractTo(module, path, n), groups);

    const std::vector<std::string>& images = (*reference)[n - 1].images;
    std::optional<IconImageSet> back = ReadIconFile(path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->count(), images.size());
    for (size_t i = 0; i < images.size(); ++i) {
      if (!back->images[i].IsDib()) ++pngImages;
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(back->images[i].data()), back->images[i].length()),
                testref::AsWrittenToIco(images[i]))
          << "image " << i;
    }
    std::vector<uint8_t> f = ReadWholeFile(path);
    size_t last = 6 + 16 * (back->count() - 1);
    if (back->count() > 0) {
      EXPECT_EQ(f.size(), Read32(f, last + 12) + Read32(f, last + 8));
    }

    HANDLE icon = LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE);
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(static_cast<HICON>(icon));
    DeleteFileA(path.c_str());
  }
  RecordProperty("groups", groups);
  RecordProperty("pngImages", pngImages);
  std::printf("shell32.dll: %d groups, %d PNG images\n", static_cast<int>(groups), pngImages);
}
