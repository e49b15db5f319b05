// The ownership rule of runtime blocks: constants are never released, a copy of the
// empty text is null, realloc of a constant copies what the constant block holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/heap.h"
#include "runtime/runtime_service.h"
#include "runtime/service_table.h"
#include "tests/suite_labels.h"

namespace {

class StaticRangeTest : public ::testing::Test {
 protected:
  void SetUp() override { rt::AddStaticRange(constants_, sizeof constants_); }
  void TearDown() override { rt::ClearStaticRanges(); }
  char constants_[64] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ!";
};

}  // namespace

PURE_SUITE(StaticRangeTest);

TEST_F(StaticRangeTest, FreeingAConstantLeavesItIntact) {
  rt::FreeMemory(constants_ + 10);
  rt::FreeMemory(nullptr);
  EXPECT_EQ(std::string(constants_, 10), "0123456789");
  // The heap is still usable after the ignored frees.
  void* p = rt::AllocMemory(32);
  ASSERT_NE(p, nullptr);
  rt::FreeMemory(p);
  EXPECT_NE(HeapValidate(GetProcessHeap(), 0, nullptr), 0);
}

TEST_F(StaticRangeTest, ReallocOfAConstantCopiesOnlyWhatTheBlockHolds) {
  char* nearEnd = constants_ + sizeof constants_ - 10;
  char* copy = static_cast<char*>(rt::ReallocMemory(nearEnd, 100));
  ASSERT_NE(copy, nearEnd);
  EXPECT_EQ(std::memcmp(copy, nearEnd, 10), 0);
  EXPECT_FALSE(rt::InStaticRange(copy));
  rt::FreeMemory(copy);
}

TEST_F(StaticRangeTest, ReallocSlotOfTheServiceTableGrowsBlocksAndCopiesConstants) {
  const rt::ServiceTable& services = rt::Services();
  char* fresh = static_cast<char*>(services.reallocMemory(nullptr, 8));  // null: a new block
  ASSERT_NE(fresh, nullptr);
  std::memcpy(fresh, "abcdefgh", 8);
  char* grown = static_cast<char*>(services.reallocMemory(fresh, 4000));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(std::memcmp(grown, "abcdefgh", 8), 0) << "contents kept";
  grown[3999] = 'z';
  char* copy = static_cast<char*>(services.reallocMemory(constants_ + 60, 16));
  ASSERT_NE(copy, constants_ + 60);
  EXPECT_EQ(std::memcmp(copy, constants_ + 60, 4), 0);
  EXPECT_EQ(constants_[60], 'Y') << "the constant itself is untouched";
  services.freeMemory(copy);
  services.freeMemory(grown);
  EXPECT_NE(HeapValidate(GetProcessHeap(), 0, nullptr), 0);
}

TEST_F(StaticRangeTest, StoredConstantDefaultCanBeFreedByTheCaller) {
  // A routine stores a constant into the caller's variable; the caller frees it later.
  char* variable = constants_;
  rt::FreeMemory(variable);
  EXPECT_EQ(constants_[0], '0');
}

PURE_SUITE(RuntimeBlocks);

TEST(RuntimeBlocks, EmptyTextCopiesAreNull) {
  EXPECT_EQ(rt::NewText(""), nullptr);
  EXPECT_EQ(rt::NewText(nullptr), nullptr);
  char* t = rt::NewText("abc");
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t, "abc");
  rt::FreeMemory(t);
}

TEST(RuntimeBlocks, ByteSetAndArrayLayouts) {
  const uint8_t bytes[] = {1, 2, 3};
  void* set = rt::NewByteSet(bytes, 3);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(static_cast<int32_t*>(set)[0], 1);
  EXPECT_EQ(rt::ByteSetLength(set), 3);
  EXPECT_EQ(rt::ByteSetBytes(set)[2], 3);
  rt::FreeMemory(set);
  EXPECT_EQ(rt::NewByteSet(bytes, 0), nullptr);

  const int32_t values[] = {4, 1};
  void* array = rt::NewIntArray(values, 2);
  EXPECT_EQ(rt::ArrayElementCount(array), 2);
  EXPECT_EQ(static_cast<int32_t>(rt::ArrayElements(array)[1]), 1);
  rt::FreeMemory(array);

  int32_t twoByThree[] = {2, 2, 3, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(rt::ArrayElementCount(twoByThree), 6);
}

PURE_SUITE(RuntimeService);

TEST(RuntimeService, MemoryCodesUseTheRuntimeHeap) {
  int32_t p = rt::RuntimeService(rt::SvcAlloc, 16, 0);
  ASSERT_NE(p, 0);
  int32_t q = rt::RuntimeService(rt::SvcRealloc, p, 4096);
  ASSERT_NE(q, 0);
  // A block from the service is released by FreeMemory like any other.
  rt::FreeMemory(reinterpret_cast<void*>(static_cast<uintptr_t>(q)));
  EXPECT_EQ(rt::RuntimeService(rt::SvcAlloc, 0x7FFFFFF0, 1), 0);  // plain allocation may fail
}

namespace {
int32_t g_seenArgc = -1;
rt::ArgRecord g_seenSecond = {1, 1, 1};
void __cdecl RecordingCommand(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args) {
  g_seenArgc = argc;
  g_seenSecond = args[1];
  EXPECT_EQ(result->value, 0u);
  EXPECT_EQ(result->tag, 0u);
  result->value = 42;
  result->tag = rt::TagInt;
}
}  // namespace

PURE_SUITE(ServiceTable);

TEST(ServiceTable, CommandsSeeOmittedArgumentsAndReturnThreeWords) {
  rt::ArgRecord args[2] = {rt::IntArg(5), rt::OmittedArg()};
  rt::ResultRecord out = {0xdeadbeef, 0xdeadbeef, 0xdeadbeef};
  rt::Services().callKernelCommand(&RecordingCommand, 2, args, &out);
  EXPECT_EQ(g_seenArgc, 2);
  EXPECT_EQ(g_seenSecond.tag, 0u);
  EXPECT_EQ(g_seenSecond.value, 0u);
  EXPECT_EQ(out.value, 42u);
  EXPECT_EQ(out.high, 0u);
  EXPECT_EQ(out.tag, static_cast<uint32_t>(rt::TagInt));
}
