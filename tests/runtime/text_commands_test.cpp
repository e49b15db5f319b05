#include "runtime/text_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "command_call.h"
#include "guarded_text.h"
#include "runtime/heap.h"
#include "tests/suite_labels.h"

using rt::ArgRecord;
using rt_test::CallCommand;
using rt_test::GuardedText;
using rt_test::TakeText;
using rt_test::TakeTextArray;
using Items = std::vector<std::string>;

namespace {

ArgRecord Tagged(uint32_t value, uint32_t high, uint32_t tag) { return ArgRecord{value, high, tag}; }
ArgRecord DateArg(double d) {
  ArgRecord a = rt::DoubleArg(d);
  a.tag = rt::TagDateTime;
  return a;
}
ArgRecord FloatArg(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, 4);
  return ArgRecord{bits, 0, rt::TagFloat};
}
ArgRecord LongArg(int64_t v) {
  uint64_t u = static_cast<uint64_t>(v);
  return ArgRecord{static_cast<uint32_t>(u), static_cast<uint32_t>(u >> 32), rt::TagLong};
}
ArgRecord PointerArg(const void* p, uint32_t tag) {
  return ArgRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)), 0, tag};
}

std::string ToTextOf(const ArgRecord& a) { return TakeText(CallCommand(rt::ToText, {a})); }
std::string Trim(const char* s) { return TakeText(CallCommand(rt::TrimSpaces, {rt::TextArg(s)})); }

}  // namespace

// The text ends exactly at a page boundary and the next page is inaccessible, so the
// double-byte tests below would fault on any read past the terminating NUL.  (A probe
// read is not used: under the emulated test setup a caught access violation is not
// recoverable.)
TEST(GuardedTextFixture, TextEndsAtAnInaccessiblePage) {
  GuardedText t("ab");
  ASSERT_NE(t.get(), nullptr);
  const char* after = t.get() + 3;
  MEMORY_BASIC_INFORMATION before{}, next{};
  ASSERT_NE(VirtualQuery(t.get(), &before, sizeof before), 0u);
  ASSERT_NE(VirtualQuery(after, &next, sizeof next), 0u);
  EXPECT_EQ(before.Protect, static_cast<DWORD>(PAGE_READWRITE));
  EXPECT_EQ(next.Protect, static_cast<DWORD>(PAGE_NOACCESS));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(after) % 4096, 0u);
}

PURE_SUITE(BitOr);

TEST(BitOr, OneArgumentIsItsValue) {
  rt::ResultRecord r = CallCommand(rt::BitOr, {rt::IntArg(0x1234)});
  EXPECT_EQ(r.value, 0x1234u);
  EXPECT_EQ(r.tag, rt::TagInt);
}

TEST(BitOr, SeveralArgumentsAreCombined) {
  rt::ResultRecord r = CallCommand(
      rt::BitOr, {rt::IntArg(1), rt::IntArg(0x40), rt::IntArg(0x41), rt::IntArg(static_cast<int32_t>(0x80000000))});
  EXPECT_EQ(r.value, 0x80000041u);
  EXPECT_EQ(r.tag, rt::TagInt);
}

PURE_SUITE(TrimSpaces);

TEST(TrimSpaces, BothEndsAndFullWidthSpaces) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  // Full-width spaces at both ends go, the one inside stays.
  EXPECT_EQ(Trim("\xA1\xA1 中\xA1\xA1文 \xA1\xA1"), "中\xA1\xA1文");
  EXPECT_EQ(Trim("   "), "(null)");
  EXPECT_EQ(Trim(""), "(null)");
  EXPECT_EQ(Trim(nullptr), "(null)");
}

TEST(TrimSpaces, SecondByteOfACharacterIsNoSpace) {
  // 0xA1 0xA1 only counts at a character start: here 0xB0 0xA1 is one character and the
  // following 0xA1 0x41 another, so nothing is a space.
  EXPECT_EQ(Trim("\xB0\xA1\xA1\x41"), "\xB0\xA1\xA1\x41");
  // A trail byte 0x20 does not occur in the code page, but a lead byte swallows any byte.
  EXPECT_EQ(Trim("x\xB0 "), "x\xB0 ");
}

TEST(TrimSpaces, ArgumentIsNotChanged) {
  char text[] = "  keep  ";
  EXPECT_EQ(Trim(text), "keep");
  EXPECT_STREQ(text, "  keep  ");
}

TEST(TrimSpaces, LoneLeadByteAtTheEndIsCutWithoutOverRead) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"中文\xD6", "中文"},
      {"ab  \xD6", "ab"},
      {"\xA1", "(null)"},
      {" \xA1\xA1 x\xA1", "x"},
      {"中 \xA1\xA1", "中"},
      {"\xB0", "(null)"},
  };
  for (const Case& c : cases) {
    GuardedText t(c.text);
    ASSERT_NE(t.get(), nullptr);
    EXPECT_EQ(Trim(t.get()), c.expected) << "text: " << c.text;
  }
}

PURE_SUITE(SplitText);

TEST(SplitText, LineBreaks) {
  auto split = [](const char* s) {
    return TakeTextArray(CallCommand(rt::SplitText, {rt::TextArg(s), rt::TextArg("\r\n"), rt::OmittedArg()}));
  };
  EXPECT_EQ(split("one\r\n\r\ntwo"), (Items{"one", "(null)", "two"}));
  EXPECT_EQ(split("one\r\ntwo\r\n"), (Items{"one", "two"}));
  EXPECT_EQ(split(""), Items{});
  EXPECT_EQ(split("\r\n"), (Items{"(null)"}));
  EXPECT_EQ(split("no break"), (Items{"no break"}));
}

TEST(SplitText, DefaultDelimiterIsComma) {
  EXPECT_EQ(TakeTextArray(CallCommand(rt::SplitText, {rt::TextArg("a,b,,c"), rt::OmittedArg(), rt::OmittedArg()})),
            (Items{"a", "b", "(null)", "c"}));
  // Program code may also pass only the text.
  EXPECT_EQ(TakeTextArray(CallCommand(rt::SplitText, {rt::TextArg("x,y")})), (Items{"x", "y"}));
}

TEST(SplitText, Limits) {
  auto split = [](const char* s, int32_t m) {
    return TakeTextArray(CallCommand(rt::SplitText, {rt::TextArg(s), rt::TextArg(","), rt::IntArg(m)}));
  };
  EXPECT_EQ(split("a,b,c", 1), (Items{"a"}));
  EXPECT_EQ(split("abc", 1), (Items{"abc"}));
  EXPECT_EQ(split("a,b,c", 2), (Items{"a", "b"}));
  EXPECT_EQ(split("a,b,c", 3), (Items{"a", "b", "c"}));
  EXPECT_EQ(split("a,b,c", 10), (Items{"a", "b", "c"}));
  EXPECT_EQ(split("a,b,c", 0), Items{});
  EXPECT_EQ(split("a,b,c", -4), Items{});
}

TEST(SplitText, EmptyDelimiterGivesTheWholeText) {
  EXPECT_EQ(TakeTextArray(CallCommand(rt::SplitText, {rt::TextArg("a,b"), rt::TextArg(""), rt::OmittedArg()})),
            (Items{"a,b"}));
}

TEST(SplitText, NeverSplitsATwoByteCharacter) {
  // 0x95 0x5C is one character whose second byte is the backslash.
  EXPECT_EQ(TakeTextArray(CallCommand(rt::SplitText,
                                      {rt::TextArg("a\\\x95\x5C\\b"), rt::TextArg("\\"), rt::OmittedArg()})),
            (Items{"a", "\x95\x5C", "b"}));
  // A delimiter that starts with a second byte: 0xB0 0x40 holds "@" as its trail.
  EXPECT_EQ(TakeTextArray(CallCommand(rt::SplitText,
                                      {rt::TextArg("\xB0@@x"), rt::TextArg("@"), rt::OmittedArg()})),
            (Items{"\xB0@", "x"}));
}

TEST(SplitText, TextEndingInALoneLeadByteIsNotOverRead) {
  struct Case {
    const char* text;
    const char* delimiter;
    Items expected;
  } cases[] = {
      {"x\r\ny\xB0", "\r\n", {"x", "y\xB0"}},
      {"\xB0", ",", {"\xB0"}},
      {"中,\xB0", ",", {"中", "\xB0"}},
      {"a\r\n", "\r\n", {"a"}},
      {"文\\", "\\", {"文"}},
  };
  for (const Case& c : cases) {
    GuardedText t(c.text);
    GuardedText d(c.delimiter);
    ASSERT_TRUE(t.get() && d.get());
    EXPECT_EQ(TakeTextArray(CallCommand(rt::SplitText, {rt::TextArg(t.get()), rt::TextArg(d.get()), rt::OmittedArg()})),
              c.expected)
        << "text: " << c.text;
  }
}

PURE_SUITE(BlankText);

TEST(BlankText, Sizes) {
  EXPECT_EQ(TakeText(CallCommand(rt::BlankText, {rt::IntArg(0)})), "(null)");
  EXPECT_EQ(TakeText(CallCommand(rt::BlankText, {rt::IntArg(-7)})), "(null)");
  EXPECT_EQ(TakeText(CallCommand(rt::BlankText, {rt::IntArg(3)})), "   ");
  EXPECT_EQ(TakeText(CallCommand(rt::BlankText, {rt::IntArg(512)})), std::string(512, ' '));
}

PURE_SUITE(ToText);

TEST(ToText, Integers) {
  EXPECT_EQ(ToTextOf(Tagged(0xFFFFFFC8u, 0, rt::TagByte)), "200");
  EXPECT_EQ(ToTextOf(Tagged(0x12348000u, 0, rt::TagShort)), "-32768");
  EXPECT_EQ(ToTextOf(rt::IntArg(0)), "0");
  EXPECT_EQ(ToTextOf(rt::IntArg(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(ToTextOf(rt::IntArg(255)), "255");
  EXPECT_EQ(ToTextOf(LongArg(-1234567890123LL)), "-1234567890123");
  EXPECT_EQ(ToTextOf(LongArg(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
  EXPECT_EQ(ToTextOf(LongArg(std::numeric_limits<int64_t>::max())), "9223372036854775807");
}

TEST(ToText, FloatingPoint) {
  EXPECT_EQ(ToTextOf(rt::DoubleArg(3.0)), "3");
  EXPECT_EQ(ToTextOf(rt::DoubleArg(24.0)), "24");
  EXPECT_EQ(ToTextOf(rt::DoubleArg(-0.5)), "-0.5");
  EXPECT_EQ(ToTextOf(rt::DoubleArg(1.0 / 3.0)), "0.3333333333333");
  EXPECT_EQ(ToTextOf(rt::DoubleArg(1e20)), "1e+20");
  EXPECT_EQ(ToTextOf(FloatArg(0.1f)), "0.1");
  EXPECT_EQ(ToTextOf(FloatArg(1234567.0f)), "1.23457e+06");
  EXPECT_EQ(ToTextOf(FloatArg(3.0f)), "3");
}

TEST(ToText, Logical) {
  EXPECT_EQ(ToTextOf(rt::BoolArg(true)), "真");
  EXPECT_EQ(ToTextOf(Tagged(2, 0, rt::TagBool)), "真");
  EXPECT_EQ(ToTextOf(rt::BoolArg(false)), "假");
}

TEST(ToText, DateTime) {
  struct Case {
    double days;
    const char* expected;
  } cases[] = {
      {0, "1899年12月30日"},
      {2, "1900年1月1日"},
      {60, "1900年2月28日"},  // 1900 has no 29 February
      {61, "1900年3月1日"},
      {36585, "2000年2月29日"},
      {45477, "2024年7月4日"},
      {-1, "1899年12月29日"},
      {-363, "1899年1月1日"},
      {-72987, "1700年3月1日"},
      {-109512, "1600年2月29日"},
      {-328551, "1000年6月15日"},
      {-657434, "100年1月1日"},
      {2958465, "9999年12月31日"},
      // Times: seconds, then minutes, then the hour decide how much is shown.
      {0.5, "1899年12月30日12时"},
      {45477.75 + 30.0 / 1440, "2024年7月4日18时30分"},
      {45477 + (10 * 3600 + 5) / 86400.0, "2024年7月4日10时0分5秒"},
      {45477 + 59 / 86400.0, "2024年7月4日0时0分59秒"},
      {2958465 + 86399 / 86400.0, "9999年12月31日23时59分59秒"},
      {-657434 - 0.5, "100年1月1日12时"},
      // Before day 0 the fraction is still the time of that day.
      {-1.25, "1899年12月29日6时"},
      {-363.75, "1899年1月1日18时"},
      // Rounding to the nearest second carries into the next day.
      {1.99999, "1899年12月31日23时59分59秒"},
      {1.999999, "1900年1月1日"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToTextOf(DateArg(c.days)), c.expected) << "days " << c.days;
}

TEST(ToText, DateTimeOutsideTheValidRangeIsEmpty) {
  EXPECT_EQ(ToTextOf(DateArg(-657435)), "(null)");
  EXPECT_EQ(ToTextOf(DateArg(2958466)), "(null)");
  EXPECT_EQ(ToTextOf(DateArg(1e300)), "(null)");
  EXPECT_EQ(ToTextOf(DateArg(std::nan(""))), "(null)");
}

TEST(ToText, TextIsCopied) {
  char source[] = "文本";
  rt::ResultRecord r = CallCommand(rt::ToText, {rt::TextArg(source)});
  EXPECT_NE(rt_test::TextPointer(r), source);
  EXPECT_EQ(TakeText(r), "文本");
  EXPECT_EQ(ToTextOf(rt::TextArg("")), "(null)");
  EXPECT_EQ(ToTextOf(rt::TextArg(nullptr)), "(null)");
}

TEST(ToText, ByteSetUpToTheFirstZero) {
  void* withZero = rt::NewByteSet("AB\0C", 4);
  void* noZero = rt::NewByteSet("XYZ", 3);
  EXPECT_EQ(ToTextOf(PointerArg(withZero, rt::TagBytes)), "AB");
  EXPECT_EQ(ToTextOf(PointerArg(noZero, rt::TagBytes)), "XYZ");
  EXPECT_EQ(ToTextOf(PointerArg(nullptr, rt::TagBytes)), "(null)");
  rt::FreeMemory(withZero);
  rt::FreeMemory(noZero);
}

TEST(ToText, NumericArrayBytesUpToTheFirstZero) {
  const int32_t words[] = {0x44434241, 0x00474645, 0x41414141};
  void* ints = rt::NewIntArray(words, 3);
  EXPECT_EQ(ToTextOf(PointerArg(ints, rt::TagInt | rt::ArrayFlag)), "ABCDEFG");
  // The same block read as bytes: {1, 3} header, then 3 byte elements "ABC".
  EXPECT_EQ(ToTextOf(PointerArg(ints, rt::TagByte | rt::ArrayFlag)), "ABC");
  // An array of texts has no text form.
  EXPECT_EQ(ToTextOf(PointerArg(ints, rt::TagText | rt::ArrayFlag)), "(null)");
  rt::FreeMemory(ints);
}

TEST(ToText, OtherTypesGiveTheEmptyText) {
  EXPECT_EQ(ToTextOf(rt::OmittedArg()), "(null)");
  EXPECT_EQ(ToTextOf(Tagged(1, 2, 0x10001)), "(null)");
  EXPECT_EQ(TakeText(CallCommand(rt::ToText, {})), "(null)");
}
