// The form description that the program image carries: the bytes the build wrote are
// exactly the declaration in app/main_window_form.cpp, serialised by the runtime's writer.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_window_form.h"
#include "app/main_window_form_bytes.h"
#include "tests/suite_labels.h"

namespace app_test {
namespace {

PURE_SUITE(MainWindowForm);

TEST(MainWindowForm, TheBuiltBytesAreTheDeclarationWritten) {
  const std::vector<uint8_t> declared = app::MainWindowFormDescription();
  ASSERT_EQ(app::kMainWindowFormLength, declared.size());
  EXPECT_EQ(std::vector<uint8_t>(app::kMainWindowForm, app::kMainWindowForm + app::kMainWindowFormLength), declared);
}

}  // namespace
}  // namespace app_test
