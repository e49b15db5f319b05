// A test suite's CTest label, written next to the suite.  A suite that opens no
// window says so with
//
//   PURE_SUITE(SuiteName);
//
// at file scope; CTest then labels it `pure` (`ctest -L pure` runs those alone).
// Every other suite is labelled `display`.  The test program
// prints the pure suites for its build step with --list-pure-suites.
#pragma once
#include <set>
#include <string>

namespace testing_support {

inline std::set<std::string>& PureSuites() {
  static std::set<std::string> suites;
  return suites;
}

inline bool MarkPureSuite(const char* suite) { return PureSuites().insert(suite).second; }

}  // namespace testing_support

#define PURE_SUITE(suite) \
  [[maybe_unused]] static const bool kPureSuite_##suite = ::testing_support::MarkPureSuite(#suite)
