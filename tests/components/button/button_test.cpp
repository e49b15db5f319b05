#include "components/button/button.h"

#include "components/component_fixture.h"

namespace comptest {
namespace {

std::vector<uint8_t> ButtonBlob(int32_t type, const std::string& caption, const std::vector<uint8_t>& picture = {}) {
  rt::ByteAppender a;
  a.i32(1);
  a.i32(type);
  a.i32(1);
  a.i32(1);
  a.counted(picture);
  a.i32(0);
  a.countedText(caption);
  return a.take();
}

// A 2 x 2 24-bit BMP file.
std::vector<uint8_t> SmallBmp() {
  rt::ByteAppender a;
  a.u8('B');
  a.u8('M');
  a.u32(14 + 40 + 16);
  a.u32(0);
  a.u32(54);
  a.u32(40);
  a.i32(2);
  a.i32(2);
  a.u16(1);
  a.u16(24);
  for (int i = 0; i < 6; ++i) a.u32(0);
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < 6; ++i) a.u8(0x80);
    a.u16(0);  // row padding to 8 bytes
  }
  return a.take();
}

// A 16 x 16 32-bit icon file.
std::vector<uint8_t> SmallIco() {
  rt::ByteAppender image;
  image.u32(40);
  image.i32(16);
  image.i32(32);
  image.u16(1);
  image.u16(32);
  for (int i = 0; i < 6; ++i) image.u32(0);
  for (int i = 0; i < 256; ++i) image.u32(0xFF2040C0);
  for (int i = 0; i < 16; ++i) image.u32(0);  // AND mask
  std::vector<uint8_t> bytes = image.take();
  rt::ByteAppender a;
  a.u16(0);
  a.u16(1);
  a.u16(1);
  a.u8(16);
  a.u8(16);
  a.u8(0);
  a.u8(0);
  a.u16(1);
  a.u16(32);
  a.u32(static_cast<uint32_t>(bytes.size()));
  a.u32(22);
  a.bytes(bytes);
  return a.take();
}

class ButtonTest : public ComponentTest {
 protected:
  static constexpr rt::GetInterfaceFn GetInterface = &comp::ComponentSlots<comp::Button>::GetInterface;

  comp::Button* Make(const std::vector<uint8_t>& blob) {
    return static_cast<comp::Button*>(Create(GetInterface, blob, 10, 10, 80, 28, 100));
  }
};

TEST_F(ButtonTest, ClickFiresEventZero) {
  comp::Button* button = Make(ButtonBlob(0, "载入"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(Text(button->hwnd()), "载入");
  SendMessageA(button->hwnd(), BM_CLICK, 0, 0);
  Pump(20);
  EXPECT_EQ(Rec().Count(0), 1);
  EXPECT_EQ(Rec().events.back().elementId, kComponentId);
}

TEST_F(ButtonTest, DefaultButtonFollowsButtonType) {
  comp::Button* button = Make(ButtonBlob(5, "确定"));  // clamped to 1
  ASSERT_NE(button, nullptr);
  auto isDefault = Slot<rt::IsDefaultButtonFn>(GetInterface, rt::SlotIsDefaultButton);
  EXPECT_EQ(isDefault(button), 1);
  rt::PropertyData d = {0, 0};
  auto changed = Slot<rt::PropertyChangedFn>(GetInterface, rt::SlotPropertyChanged);
  EXPECT_EQ(changed(button, 1, &d, nullptr), 0);
  EXPECT_EQ(isDefault(button), 0);
  // A new picture can only be shown by re-creating the button.
  std::vector<uint8_t> bmp = SmallBmp();
  rt::PropertyData pic = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bmp.data())),
                          static_cast<uint32_t>(bmp.size())};
  EXPECT_EQ(changed(button, 0, &pic, nullptr), 1);
}

TEST_F(ButtonTest, PicturesDecodeOrAreDropped) {
  comp::Button* bmp = Make(ButtonBlob(0, "b", SmallBmp()));
  ASSERT_NE(bmp, nullptr);
  EXPECT_TRUE(GetWindowLongA(bmp->hwnd(), GWL_STYLE) & BS_BITMAP);
  EXPECT_NE(SendMessageA(bmp->hwnd(), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  comp::Button* ico = Make(ButtonBlob(0, "i", SmallIco()));
  ASSERT_NE(ico, nullptr);
  EXPECT_TRUE(GetWindowLongA(ico->hwnd(), GWL_STYLE) & BS_ICON);
  EXPECT_NE(SendMessageA(ico->hwnd(), BM_GETIMAGE, IMAGE_ICON, 0), 0);

  std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3, 4, 5, 6, 7};
  comp::Button* none = Make(ButtonBlob(0, "n", junk));
  ASSERT_NE(none, nullptr);
  EXPECT_FALSE(GetWindowLongA(none->hwnd(), GWL_STYLE) & (BS_BITMAP | BS_ICON));
  std::vector<uint8_t> blob =
      GlobalBytes(Slot<rt::GetAllPropertiesFn>(GetInterface, rt::SlotGetAllProperties)(none));
  std::vector<uint8_t> expected = ButtonBlob(0, "n");
  ASSERT_GE(blob.size(), expected.size());
  blob.resize(expected.size());
  EXPECT_EQ(blob, expected);
}

}  // namespace
}  // namespace comptest
