// Every icon group of the platform's own shell32.dll (Wine's holds a PNG image in
// most groups) written by ExtractFileIcon, read back, and loaded by the platform.
#include <gtest/gtest.h>

#include "extract_call.h"
#include "iconres/ico_reader.h"
#include "iconres/icon_group_loader.h"
#include "iconres/win_handles.h"
#include "icon_test_support.h"

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
  int32_t groups = 0;
  {
    DataModule m(module.c_str());
    ASSERT_TRUE(m) << module;
    groups = CountIconGroups(m.get(), 1).count;
  }
  ASSERT_GT(groups, 0);
  TempFolder dir;
  int pngImages = 0;
  for (int32_t n = 1; n <= groups; ++n) {
    SCOPED_TRACE("group " + std::to_string(n));
    std::string path = dir / ("shell32-" + std::to_string(n) + ".ico");
    ASSERT_EQ(ExtractTo(module, path, n), groups);

    GroupCount named;
    {
      DataModule m(module.c_str());
      named = CountIconGroups(m.get(), n);
    }
    ASSERT_TRUE(named.found);
    std::optional<IconImageSet> loaded = LoadIconGroup(module, *named.found);
    std::optional<IconImageSet> back = ReadIconFile(path);
    ASSERT_TRUE(loaded && back);
    ASSERT_EQ(back->count(), loaded->count());
    for (size_t i = 0; i < loaded->images.size(); ++i) {
      std::vector<uint8_t> expected = loaded->images[i].bytes;
      if (loaded->images[i].IsDib()) {
        std::fill(expected.begin() + kBiSizeImage, expected.begin() + kBiSizeImage + 4, 0);
      } else {
        ++pngImages;
      }
      EXPECT_EQ(back->images[i].bytes, expected) << "image " << i;
      EXPECT_EQ(back->images[i].width, loaded->images[i].width) << "image " << i;
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
