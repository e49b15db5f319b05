#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include "tests/suite_labels.h"

PURE_SUITE(Locale);

// Program texts are code page 936; everything else assumes Wine runs with it.
TEST(Locale, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(Locale, SourcesAreCompiledToGbk) {
  // "错误" in code page 936.
  const char* text = "错误";
  ASSERT_EQ(std::strlen(text), 4u);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0xB4);
  EXPECT_EQ(static_cast<unsigned char>(text[1]), 0xED);
  EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(text[0])), TRUE);
}
