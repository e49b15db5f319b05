// Test helpers: calling a command the way program code does, and reading its result.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/values.h"

namespace rt_test {

inline rt::ResultRecord CallCommand(rt::CommandFunction command, std::initializer_list<rt::ArgRecord> args) {
  std::vector<rt::ArgRecord> records(args);
  rt::ResultRecord result{0, 0, 0};
  command(&result, static_cast<int32_t>(records.size()), records.empty() ? nullptr : records.data());
  return result;
}

inline char* TextPointer(const rt::ResultRecord& r) {
  return reinterpret_cast<char*>(static_cast<uintptr_t>(r.value));
}

// Takes a text result: checks its tag, copies it and frees the block.  A null block
// reads as "(null)" so that null and the empty string stay distinguishable.
inline std::string TakeText(const rt::ResultRecord& r) {
  EXPECT_EQ(r.tag, rt::TagText);
  char* p = TextPointer(r);
  std::string s = p ? std::string(p) : std::string("(null)");
  rt::FreeMemory(p);
  return s;
}

// Takes a text-array result: its elements ("(null)" for a null element).
inline std::vector<std::string> TakeTextArray(const rt::ResultRecord& r) {
  EXPECT_EQ(r.tag, rt::TagText | rt::ArrayFlag);
  void* array = TextPointer(r);
  std::vector<std::string> items;
  if (!array) {
    ADD_FAILURE() << "null array";
    return items;
  }
  const int32_t* header = static_cast<const int32_t*>(array);
  EXPECT_EQ(header[0], 1) << "one dimension";
  int32_t n = rt::ArrayElementCount(array);
  uint32_t* e = rt::ArrayElements(array);
  for (int32_t i = 0; i < n; ++i) {
    const char* t = reinterpret_cast<const char*>(static_cast<uintptr_t>(e[i]));
    items.push_back(t ? std::string(t) : std::string("(null)"));
  }
  rt::FreeTextArray(array);
  return items;
}

}  // namespace rt_test
