// Test forms: a tiny component type of a test library, routines that record their
// calls, and a fixture that installs the kernel and test libraries and a form.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "components/component.h"
#include "components/kernel_library.h"
#include "formats/records/window_data.h"
#include "runtime/event_dispatch.h"
#include "formats/records/form_description.h"
#include "runtime/runtime_service.h"
#include "runtime/runtime_state.h"
#include "runtime/window_loader.h"

namespace formtest {

constexpr uint32_t kBoxType = 0x20001;      // control
constexpr uint32_t kHiddenType = 0x20002;   // hidden at run time
constexpr uint32_t kFailingType = 0x20003;  // creation fails
constexpr uint32_t kReleasingType = 0x20004;  // has extra resources the window releases
constexpr uint32_t kWindowId = 0x52010001;

struct Call {
  std::string what;
  std::vector<int32_t> args;
};
extern std::vector<Call> g_calls;
extern int32_t g_answer;     // result given by AnsweringRoutine
extern bool g_closeOnEvent;  // ClosingRoutine closes the window
// The loader's messages 0x806F and 0x8076 as test boxes receive them: (message, component id).
extern std::vector<std::pair<UINT, uint32_t>> g_loadMessages;

uint64_t __stdcall Created();
uint64_t __stdcall Moved();
uint64_t __stdcall Resized();
uint64_t __stdcall AnsweringRoutine(int32_t, int32_t, int32_t);
uint64_t __stdcall AnsweringNoArgs();
uint64_t __stdcall ClosingRoutine(int32_t, int32_t, int32_t);
uint64_t __stdcall BoxEvent0();
uint64_t __stdcall Destroyed();

inline int32_t Offset(void* routine) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(routine)); }

rt::ElementTemplate WindowElement(const comp::WindowData& props, int32_t w = 300, int32_t h = 200);
rt::ElementTemplate BoxElement(uint32_t id, uint32_t type, int32_t left, int32_t top, uint32_t flags = 5,
                               int32_t tabOrder = 0);

// Blob of a test box: version 1, counted text.
std::vector<uint8_t> BoxBlob(const std::string& text);

class FormTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Writes the windows as a form description, reads them back into the runtime.
  void Install(std::vector<rt::WindowTemplate> windows);
  static void Pump(int milliseconds = 50);
  rt::WindowTemplate& Window(uint32_t id = kWindowId) { return rt::Runtime().windows.at(id); }
  HWND Hwnd(uint32_t id = kWindowId, size_t element = 0) {
    rt::WindowObject* o = Window(id).elements[element].object;
    return o ? o->hwnd() : nullptr;
  }
};

}  // namespace formtest
