#include "runtime/program_helpers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include "tests/suite_labels.h"

PURE_SUITE(ProgramHelpers);

TEST(ProgramHelpers, TextComparisonIsUnsignedAndNullIsEmpty) {
  EXPECT_EQ(rt::CompareTexts(nullptr, ""), 0);
  EXPECT_EQ(rt::CompareTexts("", nullptr), 0);
  EXPECT_LT(rt::CompareTexts(nullptr, "a"), 0);
  EXPECT_GT(rt::CompareTexts("b", "a"), 0);
  EXPECT_LT(rt::CompareTexts("ab", "abc"), 0);
  // A lead byte sorts after ASCII.
  EXPECT_GT(rt::CompareTexts("中", "z"), 0);
  EXPECT_TRUE(rt::TextsEqual("中文", "中文"));
  EXPECT_FALSE(rt::TextsEqual("中文", "中"));
}

TEST(ProgramHelpers, TextLength) {
  EXPECT_EQ(rt::TextLength(nullptr), 0);
  EXPECT_EQ(rt::TextLength(""), 0);
  EXPECT_EQ(rt::TextLength("中a"), 3);
}

TEST(ProgramHelpers, ConcatTextsMakesOneNewBlock) {
  char* joined = rt::ConcatTexts({"C:\\dir", "\\", nullptr, "name", "-", "3", ".ico"});
  ASSERT_NE(joined, nullptr);
  EXPECT_STREQ(joined, "C:\\dir\\name-3.ico");
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, joined), std::strlen(joined) + 1);
  rt::FreeMemory(joined);
  char* empty = rt::ConcatTexts({nullptr, ""});
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty, "");
  rt::FreeMemory(empty);
}

TEST(ProgramHelpers, ArrayCountIsTheProductOfTheSizes) {
  const int32_t empty[] = {1, 0};
  const int32_t twoByThree[] = {2, 2, 3, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(rt::ArrayElementCount(empty), 0);
  EXPECT_EQ(rt::ArrayElementCount(twoByThree), 6);
  EXPECT_EQ(rt::ArrayElementCount(nullptr), 0);
}

TEST(ProgramHelpers, TruncationTowardZero) {
  EXPECT_EQ(rt::TruncateToInt(2.9), 2);
  EXPECT_EQ(rt::TruncateToInt(-2.9), -2);
  EXPECT_EQ(rt::TruncateToInt(-0.5), 0);
  EXPECT_EQ(rt::TruncateToInt(2147483647.9), 2147483647);
  EXPECT_EQ(rt::TruncateToInt(1e12), 2147483647);
  EXPECT_EQ(rt::TruncateToInt(-1e12), -2147483647 - 1);
  EXPECT_EQ(rt::TruncateToInt(std::nan("")), 0);
}

TEST(ProgramHelpers, ArrayItemInRange) {
  const int32_t values[] = {10, 20, 30};
  void* a = rt::NewIntArray(values, 3);
  EXPECT_EQ(rt::ArrayItem(a, 1), 10u);
  EXPECT_EQ(rt::ArrayItem(a, 3), 30u);
  rt::ArrayItem(a, 2) = 99;
  EXPECT_EQ(rt::ArrayElements(a)[1], 99u);
  rt::FreeMemory(a);
}
