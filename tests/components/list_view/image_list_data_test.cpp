#include "formats/records/image_list_data.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/list_view/empty_image_list.h"
#include "components/fake_runtime.h"
#include "components/list_view/image_list_commands.h"
#include "components/list_view/image_list_fixture.h"
#include "runtime/heap.h"
#include "tests/suite_labels.h"

namespace {

std::string Shell32() {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\shell32.dll";
}

// The data of a platform image list holding the first `count` icons of shell32.
std::vector<uint8_t> PlatformListData(UINT flags, int count) {
  rt::ImageListHandle list(ImageList_Create(32, 32, flags, 0, 4));
  ImageList_SetBkColor(list.get(), 0x00FFFFFF);
  for (int i = 0; i < count; ++i) {
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), Shell32().c_str(), static_cast<UINT>(i));
    EXPECT_EQ(ImageList_ReplaceIcon(list.get(), -1, icon), i);
    DestroyIcon(icon);
  }
  std::vector<uint8_t> data;
  EXPECT_TRUE(comp::WriteImageListData(list.get(), &data));
  return data;
}

comp::TiledImageList Parsed(const std::vector<uint8_t>& data) {
  comp::TiledImageList tiles;
  EXPECT_TRUE(tiles.Parse(data.data(), data.size()));
  return tiles;
}

// The byte set that AddFileIcon fills with the first `count` icons of shell32, starting
// from data that holds `held` images.
std::vector<uint8_t> AppendedListData(const uint8_t* start, size_t size, int count, int held = 0) {
  void* block = rt::NewByteSet(start, size);
  const std::string path = Shell32();
  for (int i = 0; i < count; ++i) {
    rt::ArgRecord args[3] = {rt::RefArg(&block, rt::TagBytes), rt::TextArg(path.c_str()), rt::IntArg(i)};
    rt::ResultRecord result = {};
    comp::AddFileIconCommand(&result, 3, args);
    EXPECT_EQ(static_cast<int32_t>(result.value), held + i);
  }
  const uint8_t* p = rt::ByteSetBytes(block);
  std::vector<uint8_t> bytes(p, p + rt::ByteSetLength(block));
  rt::FreeMemory(block);
  return bytes;
}

class ImageListData : public ImageListLibraryTest {};

PURE_SUITE(ImageListData);

TEST_F(ImageListData, AppendedTilesMatchWhatThePlatformStoresForTheSameIcons) {
  // Six icons span two tile rows; the platform list has its own spare capacity, which
  // the tiles drop, so both sides are compared as tiles.
  const std::vector<uint8_t> appended = AppendedListData(comp::kEmptyImageList, comp::kEmptyImageListSize, 6);
  const comp::TiledImageList platform = Parsed(PlatformListData(ILC_COLOR32 | ILC_MASK, 6));
  EXPECT_EQ(platform.count(), 6);
  EXPECT_EQ(Parsed(appended).Serialise(), platform.Serialise());
  EXPECT_EQ(Parsed(appended).Serialise(), appended);
}

TEST_F(ImageListData, ThePlatformReadsTheTilesBackWithoutLoss) {
  for (int count : {0, 1, 4, 5}) {
    SCOPED_TRACE(count);
    const std::vector<uint8_t> ours = Parsed(PlatformListData(ILC_COLOR32 | ILC_MASK, count)).Serialise();
    rt::ImageListHandle read = comp::ReadImageListData(ours.data(), ours.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(ImageList_GetImageCount(read.get()), count);
    EXPECT_EQ(ImageList_GetBkColor(read.get()), 0x00FFFFFFu);
    std::vector<uint8_t> again;
    ASSERT_TRUE(comp::WriteImageListData(read.get(), &again));
    EXPECT_EQ(Parsed(again).Serialise(), ours);
  }
}

TEST_F(ImageListData, TheApplicationsEmptyListNeedsOnlyItsHeader) {
  comp::TiledImageList tiles;
  ASSERT_TRUE(tiles.Parse(comp::kEmptyImageList, comp::kEmptyImageListSize));
  EXPECT_EQ(tiles.count(), 0);
  EXPECT_EQ(tiles.header().cx, 32);
  EXPECT_EQ(tiles.header().growth, 4);
  EXPECT_EQ(tiles.header().overlays[3], -1);
  EXPECT_TRUE(tiles.hasMask());
  const std::vector<uint8_t> data = tiles.Serialise();
  rt::ImageListHandle list = comp::ReadImageListData(data.data(), data.size());
  ASSERT_TRUE(list);
  EXPECT_EQ(ImageList_GetImageCount(list.get()), 0);
}

TEST_F(ImageListData, OtherListsAndDamagedDataAreRefused) {
  const std::vector<uint8_t> good = PlatformListData(ILC_COLOR32 | ILC_MASK, 2);
  ASSERT_TRUE(Parsed(good).count() == 2);

  // Every cut of a list with images is refused, never read past its end.
  for (size_t n = 0; n < good.size(); n += (n < 200 ? 1 : 997)) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + n);
    comp::TiledImageList tiles;
    EXPECT_FALSE(tiles.Parse(cut.data(), cut.size())) << n;
  }
  auto refused = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bad = good;
    bad[at] = value;
    comp::TiledImageList tiles;
    return !tiles.Parse(bad.data(), bad.size());
  };
  EXPECT_TRUE(refused(10, 0x02)) << "stream version";
  EXPECT_TRUE(refused(26, 0x08)) << "8-bit colour";
  EXPECT_TRUE(refused(18, 0x00)) << "no width";
  EXPECT_TRUE(refused(36 + 18, 0x40)) << "bitmap width other than four tiles";
  const size_t lines = good[36 + 22] | good[36 + 23] << 8;
  const size_t maskPalette = 36 + 54 + 128 * 4 * lines + 54;
  EXPECT_TRUE(refused(maskPalette, 0xFF)) << "mask palette not black, white";

  // An 8-bit list is no tile list, and AddFileIcon still appends to it through the platform.
  const std::vector<uint8_t> eightBit = PlatformListData(ILC_COLOR8 | ILC_MASK, 1);
  comp::TiledImageList tiles;
  EXPECT_FALSE(tiles.Parse(eightBit.data(), eightBit.size()));
  const std::vector<uint8_t> appended = AppendedListData(eightBit.data(), eightBit.size(), 1, 1);
  rt::ImageListHandle list = comp::ReadImageListData(appended.data(), appended.size());
  ASSERT_TRUE(list);
  EXPECT_EQ(ImageList_GetImageCount(list.get()), 2);
}

// A header may claim up to 65,535 images of 256 x 256 (16 GiB of tiles); such a list
// is refused from its missing bitmaps before anything is allocated for them.
TEST_F(ImageListData, AHeaderClaimingImagesItsBitmapsDoNotHoldIsRefused) {
  auto claiming = [](std::vector<uint8_t> data, uint16_t count, uint16_t side) {
    data[12] = count & 0xFF, data[13] = count >> 8;
    data[18] = data[20] = side & 0xFF, data[19] = data[21] = side >> 8;
    comp::TiledImageList tiles;
    return tiles.Parse(data.data(), data.size());
  };
  const std::vector<uint8_t> empty(comp::kEmptyImageList, comp::kEmptyImageList + comp::kEmptyImageListSize);
  EXPECT_FALSE(claiming(empty, 0xFFFF, 256));
  EXPECT_FALSE(claiming(empty, 1, 32));
  const std::vector<uint8_t> two = PlatformListData(ILC_COLOR32 | ILC_MASK, 2);
  EXPECT_FALSE(claiming(two, 0xFFFF, 32)) << "bitmaps of one tile row";
  EXPECT_TRUE(claiming(two, 4, 32)) << "four images fit the one tile row";
}

TEST_F(ImageListData, ChangedBytesAreNotTakenForTheListThatWroteThem) {
  // A program that changes its byte set between appends keeps its change: the next
  // append reads the changed bytes instead of the list it wrote before.
  void* block = rt::NewByteSet(comp::kEmptyImageList, comp::kEmptyImageListSize);
  const std::string path = Shell32();
  rt::ArgRecord args[3] = {rt::RefArg(&block, rt::TagBytes), rt::TextArg(path.c_str()), rt::IntArg(0)};
  rt::ResultRecord result = {};
  comp::AddFileIconCommand(&result, 3, args);
  ASSERT_EQ(result.value, 0u);
  const size_t pixel = 36 + 54 + 10;  // a colour byte of the first image's bottom scan line
  uint8_t* bytes = const_cast<uint8_t*>(rt::ByteSetBytes(block));
  const uint8_t changed = static_cast<uint8_t>(bytes[pixel] ^ 0xFF);
  bytes[pixel] = changed;
  args[2] = rt::IntArg(1);
  comp::AddFileIconCommand(&result, 3, args);
  ASSERT_EQ(result.value, 1u);
  EXPECT_EQ(rt::ByteSetBytes(block)[pixel], changed);
  rt::FreeMemory(block);
}

}  // namespace
