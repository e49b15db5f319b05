// Test fixture for components: a parent window that reflects control notifications
// to its children, and a RuntimeService double that records fired events.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component_type.h"
#include "components/kernel_library.h"
#include "global_bytes.h"
#include "formats/byte_reader.h"
#include "runtime/events.h"
#include "runtime/program_image.h"
#include "runtime/runtime_service.h"
#include "runtime/window_object.h"

namespace comptest {

using testing_support::GlobalBytes;

struct Recorder {
  std::vector<rt::EventRecord> events;
  rt::WindowObject* windowObject = nullptr;  // answer to 2007
  std::vector<WPARAM> commands;              // WM_COMMAND ids the parent received
  int32_t answerResult = 0;                  // result the fake routine gives
  bool answer = false;
  int Count(int32_t event) const {
    int n = 0;
    for (const auto& e : events) n += e.eventIndex == event;
    return n;
  }
};
Recorder& Rec();

// The parent: reflects WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* to the child's object.
class TestParent : public rt::WindowObject {
 public:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HWND parent() const { return parent_->hwnd(); }
  static void Pump(int milliseconds = 50);
  // Creates a component through GetInterface slot 1.
  void* Create(rt::GetInterfaceFn getInterface, const std::vector<uint8_t>& blob, int x, int y, int w, int h,
               int32_t controlId, uint32_t style = WS_VISIBLE | WS_TABSTOP);
  template <typename Fn>
  static Fn Slot(rt::GetInterfaceFn getInterface, int32_t slot) {
    return reinterpret_cast<Fn>(getInterface(slot));
  }
  static std::string Text(HWND hwnd);

  TestParent* parent_ = nullptr;
};

// The fixture for one component type C: made through its GetInterface from a test blob
// (Blob::Bytes()) at 10,10, by default kWidth by kHeight, with control id 100.
template <class C, int kWidth, int kHeight>
class TypedComponentTest : public ComponentTest {
 protected:
  static constexpr rt::GetInterfaceFn GetInterface = &comp::ComponentSlots<C>::GetInterface;

  template <class Blob>
  C* Make(const Blob& b, int w = kWidth, int h = kHeight) {
    return static_cast<C*>(Create(GetInterface, b.Bytes(), 10, 10, w, h, 100));
  }
  // The component's PropertyChanged slot with the value word `value`.
  int32_t Change(C* component, int32_t index, uint32_t value) {
    rt::PropertyData d = {value, 0};
    return Slot<rt::PropertyChangedFn>(GetInterface, rt::SlotPropertyChanged)(component, index, &d, nullptr);
  }
  // The first word that the component's GetProperty slot gives; the call must succeed.
  int32_t Get(C* component, int32_t index) {
    rt::PropertyData d = {0xdeadbeef, 0};
    EXPECT_EQ(Slot<rt::GetPropertyFn>(GetInterface, rt::SlotGetProperty)(component, index, &d), 1);
    return static_cast<int32_t>(d.value);
  }
};

// The data-binding texts at the end of an edit box or label blob from version 2 on.
inline void AppendDataBinding(rt::ByteAppender& a, int32_t version, const std::string& source,
                              const std::string& field) {
  if (version < 2) return;
  a.countedText(source);
  a.countedText(field);
}

constexpr uint32_t kWindowId = 0x52010001;
constexpr uint32_t kComponentId = 0x16010005;

}  // namespace comptest
