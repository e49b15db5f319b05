#include "formats/records/form_description.h"
#include "formats/byte_reader.h"

#include <gtest/gtest.h>
#include "tests/suite_labels.h"

namespace {

using rt::ElementTemplate;
using rt::WindowTable;
using rt::WindowTemplate;

ElementTemplate Window(uint32_t id) {
  ElementTemplate e;
  e.id = id;
  e.typeId = 0x10001;
  e.left = -5; e.top = 7; e.width = 300; e.height = 200;
  e.stateFlags = 1;
  e.events = {{0, 0x120, 0}, {1, -1, 0}};
  e.properties = {6, 0, 0, 0, 2, 0, 0, 0};
  return e;
}

ElementTemplate Component(uint32_t id, uint32_t type) {
  ElementTemplate e;
  e.id = id;
  e.typeId = type;
  e.eventSource = 0x16010009;
  e.headReserved[2] = 77;
  e.name = "按钮1";
  e.comment = "c";
  e.left = 10; e.top = 20; e.width = 30; e.height = 40;
  e.parentId = 0x16010002;
  e.children = {0x16010003, 0, 0x16010004};
  e.mousePointer = {5, 0, 0, 0};
  e.tag = "tag";
  e.reservedAfterTag = 9;
  e.stateFlags = 5;
  e.tabOrder = 3;
  e.events = {{-1, 0x40, 0}, {0, -1, 0}};
  e.reservedAfterEvents[4] = 8;
  e.properties = {1, 2, 3};
  return e;
}

ElementTemplate MenuItem(uint32_t id, const char* caption, int32_t routine) {
  ElementTemplate e;
  e.id = id;
  e.typeId = 0x10003;
  e.shortcut = 4;
  e.level = 1;
  e.itemFlags = 6;
  e.caption = caption;
  e.routineOffset = routine;
  e.menuReserved[1] = 2;
  return e;
}

WindowTable SampleTable() {
  WindowTable table;
  WindowTemplate a;
  a.id = 0x52010001;
  a.reserved1 = 1;
  a.reserved2 = 2;
  a.reservedText1 = "r1";
  a.elements = {Window(0x06010000), Component(0x16010002, 0x1000B), MenuItem(0x26010005, "文件(&F)", -1),
                MenuItem(0x26010006, "-", 0x99), Component(0x16010007, 0x20004)};
  table[a.id] = a;
  WindowTemplate b;
  b.id = 0x52010002;
  b.elements = {Window(0x06010000)};
  table[b.id] = b;
  return table;
}

void ExpectSameElement(const ElementTemplate& a, const ElementTemplate& b) {
  EXPECT_EQ(a.id, b.id);
  EXPECT_EQ(a.typeId, b.typeId);
  EXPECT_EQ(a.eventSource, b.eventSource);
  EXPECT_EQ(a.headReserved[2], b.headReserved[2]);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.comment, b.comment);
  EXPECT_EQ(a.caption, b.caption);
  EXPECT_EQ(a.routineOffset, b.routineOffset);
  EXPECT_EQ(a.itemFlags, b.itemFlags);
  EXPECT_EQ(a.level, b.level);
  EXPECT_EQ(a.shortcut, b.shortcut);
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.parentId, b.parentId);
  EXPECT_EQ(a.children, b.children);
  EXPECT_EQ(a.mousePointer, b.mousePointer);
  EXPECT_EQ(a.tag, b.tag);
  EXPECT_EQ(a.stateFlags, b.stateFlags);
  EXPECT_EQ(a.tabOrder, b.tabOrder);
  ASSERT_EQ(a.events.size(), b.events.size());
  for (size_t i = 0; i < a.events.size(); ++i) {
    EXPECT_EQ(a.events[i].eventIndex, b.events[i].eventIndex);
    EXPECT_EQ(a.events[i].routineOffset, b.events[i].routineOffset);
  }
  EXPECT_EQ(a.reservedAfterEvents[4], b.reservedAfterEvents[4]);
  EXPECT_EQ(a.properties, b.properties);
}

PURE_SUITE(FormDescription);

TEST(FormDescription, RoundTripKeepsEveryField) {
  WindowTable original = SampleTable();
  std::vector<uint8_t> bytes = rt::WriteFormDescription(original);
  WindowTable read;
  ASSERT_TRUE(rt::ReadFormDescription(bytes.data(), bytes.size(), read));
  ASSERT_EQ(read.size(), 2u);
  const WindowTemplate& a = read.at(0x52010001);
  EXPECT_EQ(a.reserved1, 1u);
  EXPECT_EQ(a.reserved2, 2u);
  EXPECT_EQ(a.reservedText1, "r1");
  ASSERT_EQ(a.elements.size(), 5u);
  for (size_t i = 0; i < 5; ++i) ExpectSameElement(original.at(0x52010001).elements[i], a.elements[i]);
  EXPECT_TRUE(a.elements[2].IsMenuItem());
  EXPECT_TRUE(a.elements[1].IsComponent());
  EXPECT_EQ(rt::WriteFormDescription(read), bytes);
}

TEST(FormDescription, LayoutOfTheOuterBlockAndOffsets) {
  WindowTable table;
  WindowTemplate w;
  w.id = 0x52010001;
  w.elements = {Window(0x06010000)};
  table[w.id] = w;
  std::vector<uint8_t> bytes = rt::WriteFormDescription(table);
  rt::ByteReader r(bytes.data(), bytes.size());
  EXPECT_EQ(r.u32(), 8u);           // key block length
  EXPECT_EQ(r.u32(), 0x52010001u);  // id
  EXPECT_EQ(r.u32(), 0u);           // slot
  r.u32(); r.u32();                 // reserved words
  EXPECT_EQ(r.u32(), 0u);           // empty counted texts
  EXPECT_EQ(r.u32(), 0u);
  EXPECT_EQ(r.u32(), 1u);           // element count
  uint32_t blockLength = r.u32();
  EXPECT_EQ(blockLength, r.remaining());
  EXPECT_EQ(r.u32(), 0x06010000u);  // element id
  EXPECT_EQ(r.u32(), 0u);           // first offset counts from the end of the offsets
  EXPECT_EQ(r.u32(), blockLength - 12);  // element data length
}

TEST(FormDescription, EveryTruncationFailsAndAddsNothing) {
  std::vector<uint8_t> bytes = rt::WriteFormDescription(SampleTable());
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);  // exact size: no slack to read into
    WindowTable table;
    EXPECT_FALSE(rt::ReadFormDescription(cut.data(), cut.size(), table)) << "length " << n;
    EXPECT_TRUE(table.empty());
  }
}

TEST(FormDescription, InconsistentDataFails) {
  const std::vector<uint8_t> good = rt::WriteFormDescription(SampleTable());
  auto patched = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    WindowTable t;
    return rt::ReadFormDescription(b.data(), b.size(), t);
  };
  EXPECT_FALSE(patched(0, 12));          // key block not a multiple of 8
  EXPECT_FALSE(patched(0, 0x7FFFFFF8));  // key block longer than the data
  EXPECT_FALSE(patched(8, 0x52010001));  // duplicate window id
  // First window record at 20: reserved words, texts "r1" and "", element count at 38,
  // block length at 42, element ids from 46, offsets from 66.
  EXPECT_FALSE(patched(38, 0));          // no elements
  EXPECT_FALSE(patched(38, 0x40000000)); // element count beyond the block
  EXPECT_FALSE(patched(38, 4));          // count disagrees with the block's layout
  EXPECT_FALSE(patched(46, 0x16010009)); // element 0 is not the window
  EXPECT_FALSE(patched(54, 0x16010002)); // duplicate element id
  EXPECT_FALSE(patched(66, 0xFFFFFF00)); // element offset outside the block
  EXPECT_FALSE(patched(70, 3));          // offset into the middle of another entry
  WindowTable t;
  EXPECT_TRUE(rt::ReadFormDescription(good.data(), good.size(), t));
}

// Damaged descriptions (random bytes and words overwritten, the same sequence every
// run): each is read cleanly or refused without adding anything, and whatever is read
// writes back into a description that reads again to the same bytes.
TEST(FormDescription, RandomDamageIsReadCleanlyOrRefused) {
  const std::vector<uint8_t> good = rt::WriteFormDescription(SampleTable());
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  int readAnyway = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> b = good;
    const int changes = 1 + next() % 3;
    for (int c = 0; c < changes; ++c) {
      const size_t at = next() % (b.size() - 3);
      if (next() % 2) {
        b[at] = static_cast<uint8_t>(next());
      } else {
        static const uint32_t words[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x10000};
        const uint32_t v = words[next() % 6];
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
      }
    }
    WindowTable t;
    if (!rt::ReadFormDescription(b.data(), b.size(), t)) {
      EXPECT_TRUE(t.empty()) << "round " << round;
      continue;
    }
    ++readAnyway;
    const std::vector<uint8_t> rewritten = rt::WriteFormDescription(t);
    WindowTable again;
    ASSERT_TRUE(rt::ReadFormDescription(rewritten.data(), rewritten.size(), again)) << "round " << round;
    EXPECT_EQ(rt::WriteFormDescription(again), rewritten) << "round " << round;
  }
  EXPECT_GT(readAnyway, 0) << "some damage (in texts, rectangles, properties) still reads";
}

TEST(FormDescription, EmptyDescriptionReadsAsNoWindows) {
  std::vector<uint8_t> bytes = rt::WriteFormDescription(WindowTable());
  WindowTable t;
  EXPECT_TRUE(rt::ReadFormDescription(bytes.data(), bytes.size(), t));
  EXPECT_TRUE(t.empty());
}

TEST(FormDescription, RelocationTurnsOffsetsIntoAddressesAndMinusOneIntoNone) {
  WindowTable table = SampleTable();
  rt::RelocateRoutines(table, 0x401000);
  const auto& e = table.at(0x52010001).elements;
  EXPECT_EQ(e[0].events[0].routine, 0x401120u);
  EXPECT_EQ(e[0].events[1].routine, 0u);
  EXPECT_EQ(e[1].events[0].routine, 0x401040u);
  EXPECT_EQ(e[2].routine, 0u);
  EXPECT_EQ(e[3].routine, 0x401099u);
  EXPECT_EQ(e[1].eventSource, 0x16010009u);  // not relocated
}

}  // namespace
