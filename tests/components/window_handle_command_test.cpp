// The kernel command GetWindowHandle on a loaded form.
#include "components/form_fixture.h"

#include "runtime/kernel_commands.h"

namespace formtest {
namespace {

rt::WindowTemplate OneBoxForm() {
  rt::WindowTemplate w;
  w.id = kWindowId;
  comp::WindowData props;
  props.caption = "句柄测试";
  w.elements = {WindowElement(props), BoxElement(0x16010001, kBoxType, 10, 10)};
  return w;
}

TEST_F(FormTest, GetWindowHandleAnswersTheComponentsPlatformWindow) {
  Install({OneBoxForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  rt::ArgRecord box = {kWindowId, 0x16010001, kBoxType};
  rt::ResultRecord result = {0xdeadbeef, 0xdeadbeef, 0xdeadbeef};
  rt::GetWindowHandle(&result, 1, &box);
  EXPECT_EQ(result.value, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Hwnd(kWindowId, 1))));
  EXPECT_EQ(result.tag, static_cast<uint32_t>(rt::TagInt));

  rt::ArgRecord window = {kWindowId, 0, rt::TypeWindow};
  rt::GetWindowHandle(&result, 1, &window);
  EXPECT_EQ(result.value, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Hwnd())));
}

}  // namespace
}  // namespace formtest
