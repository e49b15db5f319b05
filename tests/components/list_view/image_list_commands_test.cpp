#include "components/list_view/image_list_commands.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "components/list_view/empty_image_list.h"
#include "components/fake_runtime.h"
#include "components/list_view/image_list_fixture.h"
#include "icon_modules.h"
#include "runtime/heap.h"

namespace {

std::string SystemFile(const char* name) {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\" + name;
}

// A byte-set variable of program code, released when the test ends.
struct ByteSetVariable {
  void* block = nullptr;
  ByteSetVariable() = default;
  ByteSetVariable(const void* bytes, size_t n) : block(rt::NewByteSet(bytes, n)) {}
  ~ByteSetVariable() { rt::FreeMemory(block); }
  std::vector<uint8_t> Bytes() const {
    const uint8_t* p = rt::ByteSetBytes(block);
    return std::vector<uint8_t>(p, p + rt::ByteSetLength(block));
  }
};

int32_t AddFileIcon(ByteSetVariable* variable, const std::string& path, int32_t index) {
  rt::ArgRecord args[4] = {rt::RefArg(&variable->block, rt::TagBytes), rt::TextArg(path.c_str()),
                           rt::IntArg(index), rt::OmittedArg()};
  rt::ResultRecord result = {0xdeadbeef, 0xdeadbeef, 0};
  result = rt::ResultRecord{};
  comp::AddFileIconCommand(&result, 4, args);
  EXPECT_EQ(result.tag, rt::TagInt);
  return static_cast<int32_t>(result.value);
}

int32_t GetImageCount(const void* block) {
  rt::ArgRecord arg = rt::RefArg(const_cast<void*>(block), rt::TagBytes);
  rt::ResultRecord result = {};
  comp::GetImageCountCommand(&result, 1, &arg);
  return static_cast<int32_t>(result.value);
}

int32_t GetFileIconCount(const std::string& path) {
  rt::ArgRecord arg = rt::TextArg(path.c_str());
  rt::ResultRecord result = {};
  comp::GetFileIconCountCommand(&result, 1, &arg);
  return static_cast<int32_t>(result.value);
}

std::string TempPath(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
}

// The list as the bare platform loop builds it from the application's empty list:
// ExtractIconA and ImageList_ReplaceIcon for every icon.
comp::TiledImageList PlatformList(const std::string& path, int32_t count) {
  rt::ImageListHandle list = comp::ReadImageListData(comp::kEmptyImageList, comp::kEmptyImageListSize);
  for (int32_t i = 0; i < count; ++i) {
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), static_cast<UINT>(i));
    EXPECT_GT(reinterpret_cast<uintptr_t>(icon), 1u) << "icon " << i;
    ImageList_ReplaceIcon(list.get(), -1, icon);
    DestroyIcon(icon);
  }
  std::vector<uint8_t> bytes;
  comp::TiledImageList tiles;
  EXPECT_TRUE(comp::WriteImageListData(list.get(), &bytes) && tiles.Parse(bytes.data(), bytes.size()));
  return tiles;
}

class ImageListCommands : public ImageListLibraryTest {
 protected:
  void SetUp() override {
    ImageListLibraryTest::SetUp();
    shell32_ = SystemFile("shell32.dll");
  }
  std::string shell32_;
};

TEST_F(ImageListCommands, FileIconCountOfShell32AndOfATextFile) {
  rt::ArgRecord arg = rt::TextArg(shell32_.c_str());
  rt::ResultRecord result = {};
  comp::GetFileIconCountCommand(&result, 1, &arg);
  EXPECT_EQ(result.tag, rt::TagInt);
  EXPECT_GT(static_cast<int32_t>(result.value), 7);

  arg = rt::TextArg("C:\\no\\such\\file.dll");
  result = {};
  comp::GetFileIconCountCommand(&result, 1, &arg);
  EXPECT_EQ(result.value, 0u);
}

// The modules with icons in the system folder (this program's, the 32-bit one).
std::vector<std::string> SystemModulesWithIcons() {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  std::vector<std::string> paths;
  WIN32_FIND_DATAA fd;
  for (const char* pattern : {"\\*.dll", "\\*.exe", "\\*.ocx", "\\*.cpl"}) {
    HANDLE h = FindFirstFileA((std::string(dir) + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string path = std::string(dir) + "\\" + fd.cFileName;
      if (reinterpret_cast<uintptr_t>(ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), static_cast<UINT>(-1))) > 0)
        paths.push_back(path);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  return paths;
}

// Modules are read by the library's own reader, and plain bitmap icons are decoded by
// the image-list commands themselves; every icon added must be the one that
// ExtractIconA gives, pixel for pixel and in the same order: over every module with
// icons in the system folder, a generated module of mixed images and an NE library.
TEST_F(ImageListCommands, ModuleIconsAreThoseOfExtractIconPixelForPixel) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string generated = TempPath("mixed.dll"), library = TempPath("library.icl");
  ASSERT_TRUE(iconmodules::WriteIconModule(self, generated, 200));
  const std::vector<uint8_t> ne = iconmodules::BuildNeIconLibrary(iconmodules::SampleNeGroups());
  FILE* f = std::fopen(library.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(ne.data(), 1, ne.size(), f);
  std::fclose(f);

  comp::TiledImageList empty;
  ASSERT_TRUE(empty.Parse(comp::kEmptyImageList, comp::kEmptyImageListSize));
  std::vector<std::string> modules = SystemModulesWithIcons();
  ASSERT_GT(modules.size(), 10u);
  modules.push_back(generated);
  modules.push_back(library);
  for (const std::string& path : modules) {
    SCOPED_TRACE(path);
    const int32_t count = GetFileIconCount(path);
    ASSERT_EQ(count, static_cast<int32_t>(reinterpret_cast<uintptr_t>(
                         ExtractIconA(GetModuleHandleA(nullptr), path.c_str(), static_cast<UINT>(-1)))));
    ASSERT_GT(count, 0);
    ByteSetVariable list(comp::kEmptyImageList, comp::kEmptyImageListSize);
    for (int32_t i = 0; i < count; ++i) ASSERT_EQ(AddFileIcon(&list, path, i), i);
    const std::vector<uint8_t> bytes = list.Bytes();
    comp::TiledImageList ours;
    ASSERT_TRUE(ours.Parse(bytes.data(), bytes.size()));
    const comp::TiledImageList platform = PlatformList(path, count);
    ASSERT_EQ(platform.count(), count);
    for (int32_t i = 0; i < count; ++i) {
      comp::TiledImageList a = empty, b = empty;
      ASSERT_TRUE(a.AppendFrom(ours, i) && b.AppendFrom(platform, i));
      const std::vector<uint8_t> x = a.Serialise(), y = b.Serialise();
      size_t at = 0;
      while (at < x.size() && at < y.size() && x[at] == y[at]) ++at;
      ASSERT_EQ(x, y) << "icon " << i << ": first difference at byte " << at << " of " << x.size() << ": "
                      << (at < x.size() ? int(x[at]) : -1) << " against the platform's " << (at < y.size() ? int(y[at]) : -1);
    }
  }
  DeleteFileA(generated.c_str());
  DeleteFileA(library.c_str());
}

TEST_F(ImageListCommands, EmptyByteSetGivesMinusOneAndStaysEmpty) {
  ByteSetVariable list;
  EXPECT_EQ(AddFileIcon(&list, shell32_, 0), -1);
  EXPECT_EQ(list.block, nullptr);
  EXPECT_EQ(GetImageCount(list.block), 0);
}

TEST_F(ImageListCommands, IndexBeyondTheIconsAndTextFileGiveMinusOneAndKeepTheVariable) {
  ByteSetVariable list(comp::kEmptyImageList, comp::kEmptyImageListSize);
  void* before = list.block;
  EXPECT_EQ(AddFileIcon(&list, shell32_, 100000), -1);
  EXPECT_EQ(list.block, before);

  char temp[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  GetTempFileNameA(temp, "txt", 0, file);
  std::string path = std::string(file) + ".txt";
  MoveFileA(file, path.c_str());
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("plain text, no icons\r\n", f);
  std::fclose(f);
  EXPECT_EQ(AddFileIcon(&list, path, 0), -1);
  DeleteFileA(path.c_str());
  EXPECT_EQ(list.block, before);
  EXPECT_EQ(list.Bytes(), std::vector<uint8_t>(comp::kEmptyImageList, comp::kEmptyImageList + 73));
}

TEST_F(ImageListCommands, SevenAppendsGiveZeroToSixAndCountSeven) {
  ByteSetVariable list(comp::kEmptyImageList, comp::kEmptyImageListSize);
  for (int32_t i = 0; i < 7; ++i) {
    const std::vector<uint8_t> before = list.Bytes();
    EXPECT_EQ(AddFileIcon(&list, shell32_, i), i);
    EXPECT_NE(list.Bytes(), before) << "the variable holds the new list after each append";
  }
  EXPECT_EQ(GetImageCount(list.block), 7);
  std::vector<uint8_t> bytes = list.Bytes();
  ASSERT_GT(bytes.size(), 8u);
  EXPECT_EQ(std::memcmp(bytes.data(), "MITL\x00\x00\x00\xFF", 8), 0);

  // A copy of the data (another block, same bytes) and data the cache has never seen
  // (written again from a fresh read) both read back as seven 32 x 32 images.
  rt::ImageListHandle copy = comp::ReadImageListData(bytes.data(), bytes.size());
  ASSERT_TRUE(copy);
  std::vector<uint8_t> rewritten;
  ASSERT_TRUE(comp::WriteImageListData(copy.get(), &rewritten));
  rewritten.push_back(0);  // other bytes than the cached ones: a real platform read
  rt::ImageListHandle fresh = comp::ReadImageListData(rewritten.data(), rewritten.size());
  ASSERT_TRUE(fresh);
  EXPECT_EQ(ImageList_GetImageCount(fresh.get()), 7);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(fresh.get(), &cx, &cy);
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
}

TEST_F(ImageListCommands, DataWithoutMagicOrOfEightBytesIsNoImageList) {
  std::vector<uint8_t> other(comp::kEmptyImageList, comp::kEmptyImageList + 73);
  other[0] = 'X';
  const std::vector<uint8_t> eight(comp::kEmptyImageList, comp::kEmptyImageList + 8);
  for (const auto& data : {other, eight}) {
    SCOPED_TRACE(data.size());
    EXPECT_FALSE(comp::ReadImageListData(data.data(), data.size()));
    ByteSetVariable list(data.data(), data.size());
    void* before = list.block;
    EXPECT_EQ(AddFileIcon(&list, shell32_, 0), -1);
    EXPECT_EQ(list.block, before);
    EXPECT_EQ(list.Bytes(), data);
    EXPECT_EQ(GetImageCount(list.block), 0);
  }
  EXPECT_TRUE(comp::IsImageListData(comp::kEmptyImageList, 9));
  EXPECT_FALSE(comp::IsImageListData(comp::kEmptyImageList, 8));
}

TEST_F(ImageListCommands, ApplicationsEmptyListIsAnEmpty32x32ColourListWithMask) {
  rt::ImageListHandle list = comp::ReadImageListData(comp::kEmptyImageList, comp::kEmptyImageListSize);
  ASSERT_TRUE(list);
  EXPECT_EQ(ImageList_GetImageCount(list.get()), 0);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list.get(), &cx, &cy));
  EXPECT_EQ(cx, 32);
  EXPECT_EQ(cy, 32);
  EXPECT_EQ(ImageList_GetBkColor(list.get()), 0x00FFFFFFu);

  // Written again, its stream header carries ILC_COLOR32 | ILC_MASK.
  std::vector<uint8_t> written;
  ASSERT_TRUE(comp::WriteImageListData(list.get(), &written));
  comp::ImageListStreamHeader header;
  ASSERT_TRUE(comp::ReadImageListStreamHeader(written.data(), written.size(), &header));
  EXPECT_EQ(header.count, 0);
  EXPECT_EQ(header.flags & 0xFE, ILC_COLOR32);
  EXPECT_EQ(header.flags & ILC_MASK, ILC_MASK);

  // One image in it has a 32-bit image bitmap and a mask bitmap.
  HICON icon = ExtractIconA(GetModuleHandleA(nullptr), shell32_.c_str(), 0);
  ASSERT_GT(reinterpret_cast<uintptr_t>(icon), 1u);
  EXPECT_EQ(ImageList_ReplaceIcon(list.get(), -1, icon), 0);
  DestroyIcon(icon);
  IMAGEINFO info = {};
  ASSERT_TRUE(ImageList_GetImageInfo(list.get(), 0, &info));
  EXPECT_NE(info.hbmMask, nullptr);
  BITMAP bitmap = {};
  ASSERT_TRUE(GetObjectA(info.hbmImage, sizeof bitmap, &bitmap));
  EXPECT_EQ(bitmap.bmBitsPixel, 32);
}

}  // namespace
