// Shared fixture of the component tests (see component_fixture.h).
#include "components/component_fixture.h"

#include "runtime/heap.h"

namespace comptest {
namespace {

int32_t __stdcall FakeRuntimeService(int32_t code, int32_t arg1, int32_t arg2) {
  switch (code) {
    case rt::SvcFireEvent: {
      auto* record = static_cast<rt::EventRecord*>(rt::LibraryLink::Pointer(arg1));
      Rec().events.push_back(*record);
      if (Rec().answer) {
        record->answered = 1;
        record->result = Rec().answerResult;
      }
      return 1;
    }
    case rt::SvcComponentObjectOrFail:
    case rt::SvcComponentObject:
      return rt::LibraryLink::Word(Rec().windowObject);
    case rt::SvcAlloc:
    case rt::SvcFree:
    case rt::SvcRealloc:
      return rt::RuntimeService(code, arg1, arg2);
    default:
      return 0;
  }
}

}  // namespace

Recorder& Rec() {
  static Recorder recorder;
  return recorder;
}

LRESULT TestParent::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  switch (msg) {
    case WM_COMMAND:
      if (lParam && ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &result)) return result;
      if (!lParam) Rec().commands.push_back(wParam);
      return 0;
    case WM_NOTIFY:
      if (ReflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, msg, wParam, lParam, &result)) return result;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &result)) return result;
      break;
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

void ComponentTest::SetUp() {
  comp::KernelLink().Notify(1, rt::LibraryLink::Word(reinterpret_cast<void*>(&FakeRuntimeService)), 0);
  Rec() = Recorder();
  ASSERT_TRUE(rt::WindowObject::RegisterObjectClass("CompTestParent", 0, LoadCursorA(nullptr, IDC_ARROW),
                                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
  parent_ = new TestParent;
  HWND hwnd = parent_->CreateObjectWindow(0, "CompTestParent", "组件测试", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                          40, 480, 320, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  Rec().windowObject = parent_;
  SetForegroundWindow(hwnd);
  Pump();
}

void ComponentTest::TearDown() {
  delete parent_;  // destroys the window and every child component with it
  parent_ = nullptr;
  Pump(10);
}

void ComponentTest::Pump(int milliseconds) {
  DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  } while (static_cast<int32_t>(GetTickCount() - until) < 0);
}

void* ComponentTest::Create(rt::GetInterfaceFn getInterface, const std::vector<uint8_t>& blob, int x, int y, int w,
                            int h, int32_t controlId, uint32_t style) {
  auto create = Slot<rt::CreateComponentFn>(getInterface, rt::SlotCreateComponent);
  if (!create) return nullptr;
  return create(blob.data(), static_cast<int32_t>(blob.size()), style, parent(), controlId, nullptr, x, y, w, h,
                kWindowId, kComponentId, nullptr, 0);
}

std::string ComponentTest::Text(HWND hwnd) {
  char buffer[512] = {};
  GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

}  // namespace comptest
