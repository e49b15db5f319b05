// Shared pieces of the form tests (see form_fixture.h).
#include "components/form_fixture.h"

#include <cstdlib>

#include "formats/byte_reader.h"
#include "test_library.h"

namespace formtest {

std::vector<Call> g_calls;
int32_t g_answer = 0;
bool g_closeOnEvent = false;
std::vector<std::pair<UINT, uint32_t>> g_loadMessages;

uint64_t __stdcall Created() {
  g_calls.push_back({"created", {rt::Runtime().eventBlockCount}});
  return 0;
}
uint64_t __stdcall Moved() { g_calls.push_back({"moved", {}}); return 0; }
uint64_t __stdcall Resized() { g_calls.push_back({"resized", {}}); return 0; }
uint64_t __stdcall AnsweringRoutine(int32_t a, int32_t b, int32_t c) {
  g_calls.push_back({"answering", {a, b, c}});
  return rt::Answered(g_answer);
}
uint64_t __stdcall AnsweringNoArgs() {
  g_calls.push_back({"answering", {}});
  return rt::Answered(g_answer);
}
uint64_t __stdcall ClosingRoutine(int32_t a, int32_t b, int32_t c) {
  g_calls.push_back({"closing", {a, b, c}});
  if (HWND h = rt::Runtime().windows.at(kWindowId).elements[0].object
                   ? rt::Runtime().windows.at(kWindowId).elements[0].object->hwnd()
                   : nullptr)
    DestroyWindow(h);
  return rt::Answered(1);
}
uint64_t __stdcall Destroyed() {
  g_calls.push_back({"destroyed", {}});
  return 0;
}
uint64_t __stdcall BoxEvent0() {
  g_calls.push_back({"box0", {}});
  return 0;
}

namespace {

rt::LibraryLink& TestLink() {
  static rt::LibraryLink link;
  return link;
}

// A plain child window that fires its event 0 while it is being created (which must
// reach no routine: loads block events) and re-creates itself when its text changes.
class Box : public comp::Component {
 public:
  Box(uint32_t w, uint32_t c) : Component(TestLink(), w, c) {}
  void ReleaseExtraResources() override {
    g_calls.push_back({"released", {static_cast<int32_t>(componentId()), ::IsWindow(hwnd()) ? 1 : 0}});
  }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == 0x806F || msg == 0x8076) g_loadMessages.emplace_back(msg, componentId());
    return DefaultProc(msg, wParam, lParam);
  }
  std::string text;
  std::vector<uint8_t> font;
  uint32_t wide[2][2] = {};  // properties 10 (double) and 11 (date-time): low, high
};

void* __stdcall CreateBox(const uint8_t* blob, int32_t size, uint32_t style, HWND parent, int32_t id, HMENU,
                          int32_t l, int32_t t, int32_t w, int32_t h, uint32_t windowId, uint32_t componentId, HWND,
                          int32_t) {
  rt::ByteReader r(blob, static_cast<size_t>(size));
  if (r.i32() != 1) return nullptr;
  auto* box = new Box(windowId, componentId);
  box->text = r.countedText();
  if (!r.ok()) { delete box; return nullptr; }
  rt::WindowObject::RegisterObjectClass("TestBox", 0, LoadCursorA(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  if (!box->CreateObjectWindow(0, "TestBox", box->text.c_str(), style | WS_CHILD | WS_BORDER, l, t, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)))) {
    delete box;
    return nullptr;
  }
  box->Fire(0);
  return static_cast<rt::WindowObject*>(box);
}
void* __stdcall CreateNothing(const uint8_t*, int32_t, uint32_t, HWND, int32_t, HMENU, int32_t, int32_t, int32_t,
                              int32_t, uint32_t, uint32_t, HWND, int32_t) {
  return nullptr;
}
Box* AsBox(void* o) { return dynamic_cast<Box*>(static_cast<rt::WindowObject*>(o)); }
int32_t __stdcall BoxChanged(void* o, int32_t index, rt::PropertyData* d, const char**) {
  Box* b = AsBox(o);
  if (index == 0) {
    b->text = reinterpret_cast<const char*>(static_cast<uintptr_t>(d->value));
    return 1;  // only a new window shows a new text
  }
  if (index == 1) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(d->value));
    b->font.assign(p, p + d->high);
  }
  if (index == 2 || index == 3) {
    b->wide[index - 2][0] = d->value;
    b->wide[index - 2][1] = d->high;
  }
  return 0;
}
HGLOBAL __stdcall BoxAll(void* o) {
  std::vector<uint8_t> blob = BoxBlob(AsBox(o)->text);
  return comp::BlobToGlobal(blob.data(), blob.size());
}
int32_t __stdcall BoxGet(void* o, int32_t index, rt::PropertyData* d) {
  Box* b = AsBox(o);
  if (index == 0) *d = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(b->text.c_str())), 0};
  else if (index == 1) *d = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(b->font.data())), static_cast<uint32_t>(b->font.size())};
  else if (index == 2 || index == 3) *d = {b->wide[index - 2][0], b->wide[index - 2][1]};
  else return 0;
  return 1;
}
void* __stdcall BoxInterface(int32_t slot) {
  switch (slot) {
    case 1: return reinterpret_cast<void*>(&CreateBox);
    case 4: return reinterpret_cast<void*>(&BoxChanged);
    case 5: return reinterpret_cast<void*>(&BoxAll);
    case 6: return reinterpret_cast<void*>(&BoxGet);
    default: return nullptr;
  }
}
void* __stdcall FailingInterface(int32_t slot) { return slot == 1 ? reinterpret_cast<void*>(&CreateNothing) : nullptr; }

#define P(kind) {nullptr, nullptr, nullptr, rt::kind, 0, nullptr}
const rt::PropertyInfo kBoxProperties[12] = {P(KindInteger), P(KindInteger), P(KindInteger), P(KindInteger),
                                             P(KindText),    P(KindLogical), P(KindLogical), P(KindCursor),
                                             P(KindText),    P(KindFont),    P(KindDouble),  P(KindDateTime)};
#undef P
const rt::ComponentTypeInfo kTypes[4] = {
    {"box", "Box", nullptr, 0, nullptr, 0x40, 0, 0, nullptr, 12, kBoxProperties, &BoxInterface, 0, nullptr},
    {"hidden", "Hidden", nullptr, 0, nullptr, 0x8040, 0, 0, nullptr, 12, kBoxProperties, &BoxInterface, 0, nullptr},
    {"failing", "Failing", nullptr, 0, nullptr, 0x40, 0, 0, nullptr, 12, kBoxProperties, &FailingInterface, 0, nullptr},
    {"releasing", "Releasing", nullptr, 0, nullptr, 0x80040, 0, 0, nullptr, 12, kBoxProperties, &BoxInterface, 0,
     nullptr},
};
const rt::LibraryDescriptor kTestLibrary = testing_support::TypesOnlyLibrary(kTypes);

}  // namespace

std::vector<uint8_t> BoxBlob(const std::string& text) {
  rt::ByteAppender a;
  a.i32(1);
  a.countedText(text);
  return a.take();
}

rt::ElementTemplate WindowElement(const comp::WindowData& props, int32_t w, int32_t h) {
  rt::ElementTemplate e;
  e.id = 0x06010000;
  e.typeId = rt::TypeWindow;
  e.left = 10;
  e.top = 10;
  e.width = w;
  e.height = h;
  e.stateFlags = rt::StateVisible;
  e.properties = props.Write();
  return e;
}

rt::ElementTemplate BoxElement(uint32_t id, uint32_t type, int32_t left, int32_t top, uint32_t flags, int32_t tabOrder) {
  rt::ElementTemplate e;
  e.id = id;
  e.typeId = type;
  e.left = left;
  e.top = top;
  e.width = 80;
  e.height = 24;
  e.stateFlags = flags;
  e.tabOrder = tabOrder;
  e.properties = BoxBlob("box");
  return e;
}

void FormTest::SetUp() {
  g_calls.clear();
  g_answer = 0;
  g_closeOnEvent = false;
  g_loadMessages.clear();
  rt::RuntimeState& rs = rt::Runtime();
  rs.libraries = {&comp::KernelLibrary(), &kTestLibrary};
  rs.eventBlockCount = 0;
  rs.loopRunning = false;
  rs.modalWindowId = 0;
  const int32_t service = static_cast<int32_t>(reinterpret_cast<uintptr_t>(&rt::RuntimeService));
  comp::KernelNotify(1, service, 0);
  TestLink().Notify(1, service, 0);
}

void FormTest::TearDown() {
  // FORM_TEST_HOLD_MS keeps the loaded form on screen (for a screenshot).
  char hold[16] = {};
  if (GetEnvironmentVariableA("FORM_TEST_HOLD_MS", hold, sizeof hold)) Pump(atoi(hold));
  rt::UnloadAllWindows();
  Pump(20);
  rt::Runtime().libraries.clear();
  rt::Runtime().eventBlockCount = 0;
}

void FormTest::Install(std::vector<rt::WindowTemplate> windows) {
  rt::WindowTable table;
  for (auto& w : windows) table[w.id] = w;
  std::vector<uint8_t> bytes = rt::WriteFormDescription(table);
  rt::WindowTable read;
  ASSERT_TRUE(rt::ReadFormDescription(bytes.data(), bytes.size(), read));
  rt::RelocateRoutines(read, 0);
  rt::Runtime().windows = std::move(read);
}

void FormTest::Pump(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      if (!rt::PreTranslateWindowMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    Sleep(5);
  } while (GetTickCount() < end);
}

}  // namespace formtest
