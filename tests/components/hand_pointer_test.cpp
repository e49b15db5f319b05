// The hand pointer of a program that carries its own cursor resource 0x408 (this test
// program does, see fixtures/hand_pointer.rc).
#include "components/form_fixture.h"

#include <cstring>

#include "runtime/component_properties.h"
#include "runtime/heap.h"
#include "runtime/pointer_cursor.h"

namespace formtest {
namespace {

std::vector<uint8_t> Word(int32_t v) {
  std::vector<uint8_t> b(4);
  std::memcpy(b.data(), &v, 4);
  return b;
}

HCURSOR OwnHand() { return LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(0x408)); }

TEST(HandPointer, IndexFourteenAndTheSystemIdUseTheProgramsOwnCursor) {
  HCURSOR own = OwnHand();
  ASSERT_NE(own, nullptr) << "the test program carries cursor 0x408";
  EXPECT_EQ(rt::HandCursor(), own);
  EXPECT_EQ(rt::CreatePointerCursor(Word(14)), own);
  EXPECT_EQ(rt::CreatePointerCursor({14}), own) << "the one-byte form";
  EXPECT_EQ(rt::CreatePointerCursor(Word(static_cast<int32_t>(reinterpret_cast<uintptr_t>(IDC_HAND)))), own);
  EXPECT_NE(own, LoadCursorA(nullptr, IDC_HAND));
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(own, &info));
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  EXPECT_EQ(info.xHotspot, 7u);
  EXPECT_EQ(info.yHotspot, 9u);
  // The other standard pointers stay the system's.
  EXPECT_EQ(rt::CreatePointerCursor(Word(3)), LoadCursorA(nullptr, IDC_IBEAM));
  // A shared cursor survives being let go.
  rt::DestroyPointerCursor(own);
  EXPECT_EQ(OwnHand(), own);
  EXPECT_TRUE(GetIconInfo(own, &info));
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST_F(FormTest, MousePointerPropertyHandShowsTheProgramsHandAndReadsBackAsFourteen) {
  comp::WindowData props;
  rt::WindowTemplate w;
  w.id = kWindowId;
  w.elements = {WindowElement(props), BoxElement(0x16010001, kBoxType, 10, 10)};
  Install({w});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  std::vector<uint8_t> hand = Word(14);
  void* set = rt::NewByteSet(hand.data(), hand.size());
  rt::SetComponentProperty(kWindowId, 0x16010001, rt::PropMousePointer, -1,
                           static_cast<uint32_t>(reinterpret_cast<uintptr_t>(set)), 0);
  rt::FreeMemory(set);
  EXPECT_EQ(Window().elements[1].cursor, OwnHand());
  void* back = reinterpret_cast<void*>(rt::GetComponentProperty(kWindowId, 0x16010001, rt::PropMousePointer, -1));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(rt::ByteSetLength(back), 4);
  int32_t index = 0;
  std::memcpy(&index, rt::ByteSetBytes(back), 4);
  EXPECT_EQ(index, 14);
  rt::FreeMemory(back);
}

}  // namespace
}  // namespace formtest
