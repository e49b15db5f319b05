// Mouse pointers of a program without its own hand cursor resource (this test program
// carries none): the hand falls back to the system's.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/pointer_cursor.h"
#include "runtime/window_loader.h"

namespace {

TEST(HandPointer, WithoutTheProgramsResourceTheSystemHandIsUsed) {
  ASSERT_EQ(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(0x408)), nullptr) << "no resource here";
  HCURSOR system = LoadCursorA(nullptr, IDC_HAND);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(rt::HandCursor(), system);
  EXPECT_EQ(rt::CreatePointerCursor({14, 0, 0, 0}), system);
  EXPECT_EQ(rt::CreatePointerCursor({14}), system);
  EXPECT_EQ(rt::CreatePointerCursor({0, 0, 0, 0}), nullptr) << "index 0 is no pointer";
}

}  // namespace
