#include "runtime/event_dispatch.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/runtime_service.h"
#include "runtime/runtime_state.h"
#include "test_library.h"

namespace {

struct Fatal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
void ThrowingHook(const std::string& text) { throw Fatal(text); }

std::vector<std::vector<uint32_t>> g_calls;

uint64_t __stdcall TwoArgs(uint32_t a, uint32_t b) {
  g_calls.push_back({a, b});
  return rt::Answered(static_cast<int32_t>(a + b));
}
uint64_t __stdcall NoResult(uint32_t a) {
  g_calls.push_back({a});
  return 0x12345678;  // no answered word
}
uint64_t __stdcall FiveArgs(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e) {
  g_calls.push_back({a, b, c, d, e});
  return rt::Answered(0);
}
uint64_t __stdcall Typed(uint32_t byteArg, uint32_t shortArg, uint32_t lo, uint32_t hi, uint32_t ref) {
  g_calls.push_back({byteArg, shortArg, lo, hi, ref});
  return rt::Answered(-2);
}
// A typed routine with an 8-byte result: the high word goes through the extra last word.
uint64_t __stdcall TypedWide(uint32_t lo, uint32_t hi, uint32_t* resultHigh) {
  g_calls.push_back({lo, hi});
  *resultHigh = hi ^ 0xFFFFFFFFu;
  return rt::Answered(static_cast<int32_t>(lo + 1));
}
// Pops one word too few: the caller must survive it.
uint64_t __cdecl WrongCount(uint32_t a) {
  g_calls.push_back({a});
  return rt::Answered(1);
}

int32_t Addr(const void* f) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(f)); }

const rt::ComponentTypeInfo kTypes[3] = {
    {nullptr, "window", nullptr, 0, nullptr, 0x800000D0, 0, 0, nullptr, 0, nullptr, nullptr, 0, nullptr},
    {nullptr, "menu", nullptr, 0, nullptr, 0x80000004, 0, 0, nullptr, 0, nullptr, nullptr, 0, nullptr},
    {nullptr, "data", nullptr, 0, nullptr, 0x00000001, 0, 0, nullptr, 0, nullptr, nullptr, 0, nullptr},
};
const rt::LibraryDescriptor kLibrary = testing_support::TypesOnlyLibrary(kTypes);

constexpr uint32_t kWin = 0x52010001;
constexpr uint32_t kButton = 0x16010002;
constexpr uint32_t kSharer = 0x16010003;
constexpr uint32_t kMenu = 0x26010004;
constexpr uint32_t kBad = 0x16010005;

class EventDispatch : public testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    rt::RuntimeState& rs = rt::Runtime();
    rs.libraries = {&kLibrary};
    rs.eventBlockCount = 0;
    rt::WindowTemplate w;
    w.id = kWin;
    rt::ElementTemplate window;
    window.id = 0x06010000;
    window.typeId = 0x10001;
    window.events = {{0, Addr(reinterpret_cast<void*>(&TwoArgs)), 0}, {1, -1, 0}};
    rt::ElementTemplate button;
    button.id = kButton;
    button.typeId = 0x10001;
    button.events = {{-1, Addr(reinterpret_cast<void*>(&TwoArgs)), 0}, {2, Addr(reinterpret_cast<void*>(&NoResult)), 0},
                     {3, Addr(reinterpret_cast<void*>(&FiveArgs)), 0}, {4, Addr(reinterpret_cast<void*>(&Typed)), 0},
                     {5, Addr(reinterpret_cast<void*>(&WrongCount)), 0},
                     {8, Addr(reinterpret_cast<void*>(&TypedWide)), 0}, {9, Addr(reinterpret_cast<void*>(&NoResult)), 0}};
    rt::ElementTemplate sharer;  // uses the button's routines
    sharer.id = kSharer;
    sharer.typeId = 0x10001;
    sharer.eventSource = kButton;
    rt::ElementTemplate menu;  // menu type of this library: 0x10002
    menu.id = kMenu;
    menu.typeId = 0x10002;
    menu.routineOffset = Addr(reinterpret_cast<void*>(&NoResult));
    rt::ElementTemplate bad;  // a type that is neither menu nor control
    bad.id = kBad;
    bad.typeId = 0x10003;
    bad.events = {{0, Addr(reinterpret_cast<void*>(&TwoArgs)), 0}};
    w.elements = {window, button, sharer, menu, bad};
    rs.windows.clear();
    rs.windows[kWin] = w;
    rt::RelocateRoutines(rs.windows, 0);
    rt::SetFatalHookForTests(&ThrowingHook);
  }
  void TearDown() override {
    rt::SetFatalHookForTests(nullptr);
    rt::Runtime().windows.clear();
    rt::Runtime().libraries.clear();
  }
  // An event record (plain or typed) of `element` in the test window, its `argCount`
  // arguments still to be filled in.
  template <class EventRecord>
  static EventRecord RecordOf(uint32_t element, int32_t event, int32_t argCount) {
    EventRecord r = {};
    r.windowId = kWin;
    r.elementId = element;
    r.eventIndex = event;
    r.argCount = argCount;
    return r;
  }
  static rt::EventRecord Record(uint32_t element, int32_t event, std::vector<int32_t> args = {}) {
    rt::EventRecord r = RecordOf<rt::EventRecord>(element, event, static_cast<int32_t>(args.size()));
    for (size_t i = 0; i < args.size(); ++i) r.args[i] = args[i];
    return r;
  }
  static std::string FatalText(rt::EventRecord r) {
    try {
      rt::FireEvent(&r);
    } catch (const Fatal& f) {
      return f.what();
    }
    return "(no fatal error)";
  }
};

TEST_F(EventDispatch, BoundRoutineRunsWithItsArgumentsAndAnswers) {
  rt::EventRecord r = Record(kButton, -1, {3, 4});
  EXPECT_EQ(rt::RuntimeService(rt::SvcFireEvent, Addr(&r), 0), 1);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0], (std::vector<uint32_t>{3, 4}));
  EXPECT_EQ(r.answered, 1);
  EXPECT_EQ(r.result, 7);
  EXPECT_EQ(rt::Runtime().eventSourceWindowId, 0u);  // cleared after the call

  r = Record(kButton, 3, {1, 2, 3, 4, 5});
  EXPECT_EQ(rt::FireEvent(&r), 1);
  EXPECT_EQ(g_calls.back(), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(r.answered, 1);
  EXPECT_EQ(r.result, 0);
}

TEST_F(EventDispatch, RoutineWithoutResultLeavesTheRecordUnanswered) {
  rt::EventRecord r = Record(kButton, 2, {9});
  EXPECT_EQ(rt::FireEvent(&r), 1);
  EXPECT_EQ(r.answered, 0);
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(EventDispatch, UnboundOrRoutinelessEventsCallNothing) {
  rt::EventRecord r = Record(kButton, 7);
  EXPECT_EQ(rt::FireEvent(&r), 0);
  r = Record(0, 1);  // binding with routine -1
  EXPECT_EQ(rt::FireEvent(&r), 0);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(EventDispatch, WindowIsElementZeroAndBecomesTheEventSource) {
  EXPECT_NE(rt::FindEventRoutine(kWin, 0, 0), 0u);
  EXPECT_EQ(rt::Runtime().eventSourceWindowId, kWin);
  EXPECT_EQ(rt::Runtime().eventSourceElementId, 0x06010000u);
}

TEST_F(EventDispatch, EventSourceChainAndMenuItems) {
  rt::EventRecord r = Record(kSharer, -1, {10, 20});
  EXPECT_EQ(rt::FireEvent(&r), 1);
  EXPECT_EQ(r.result, 30);
  EXPECT_EQ(rt::Runtime().eventSourceElementId, kSharer);
  r = Record(kMenu, 0);
  EXPECT_EQ(rt::FireEvent(&r), 1);
  EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(EventDispatch, CyclicEventSourcesEndInsteadOfLooping) {
  auto& e = rt::Runtime().windows[kWin].elements;
  e[1].eventSource = kSharer;  // button -> sharer -> button
  rt::EventRecord r = Record(kSharer, -1, {1, 1});
  EXPECT_EQ(rt::FireEvent(&r), 1);  // the walk stops after one pass and uses where it ended
  EXPECT_EQ(g_calls.size(), 1u);
}

TEST_F(EventDispatch, TypedArgumentsBecomeWordsByTag) {
  rt::TypedEventRecord r = RecordOf<rt::TypedEventRecord>(kButton, 4, 4);
  r.args[0] = {0x1FF, 0, 0x80000101, 0};         // byte: low 8 bits
  r.args[1] = {0x18000, 0, 0x80000201, 0};       // short: sign-extended low 16 bits
  r.args[2] = {0x11111111, 0x22222222, 0x80000601, 0};  // double: two words
  r.args[3] = {0xABCD, 0x5555, 0x80000004, rt::ArgByReference};  // by reference: the address word
  EXPECT_EQ(rt::RuntimeService(rt::SvcFireTypedEvent, Addr(&r), 0), 1);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0], (std::vector<uint32_t>{0xFF, 0xFFFF8000u, 0x11111111, 0x22222222, 0xABCD}));
  EXPECT_EQ(r.answered, 1);
  EXPECT_EQ(static_cast<int32_t>(r.resultLow), -2);
}

TEST_F(EventDispatch, TypedResultsCarryBothWordsOnlyWhenAnswered) {
  rt::TypedEventRecord r = RecordOf<rt::TypedEventRecord>(kButton, 8, 1);
  r.args[0] = {0x40000000, 0x400921FB, 0x80000601, 0};  // a double, passed as two words
  r.resultHigh = 0xdeadbeef;
  EXPECT_EQ(rt::FireTypedEvent(&r), 1);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0], (std::vector<uint32_t>{0x40000000, 0x400921FB}));
  EXPECT_EQ(r.answered, 1);
  EXPECT_EQ(r.resultLow, 0x40000001u);
  EXPECT_EQ(r.resultHigh, 0xBFF6DE04u) << "the routine's high word";

  // A routine with a 32-bit result answers with a high word of 0.
  r.eventIndex = 4;
  r.argCount = 0;
  r.answered = 0;
  r.resultHigh = 0xdeadbeef;
  EXPECT_EQ(rt::FireTypedEvent(&r), 1);
  EXPECT_EQ(r.answered, 1);
  EXPECT_EQ(static_cast<int32_t>(r.resultLow), -2);
  EXPECT_EQ(r.resultHigh, 0u);

  // No answer: the record keeps what the component put there.
  r.eventIndex = 9;
  r.argCount = 1;
  r.args[0] = {5, 0, 0x80000301, 0};
  r.answered = 0;
  r.resultLow = 0x11111111;
  r.resultHigh = 0x22222222;
  EXPECT_EQ(rt::FireTypedEvent(&r), 1);
  EXPECT_EQ(r.answered, 0);
  EXPECT_EQ(r.resultLow, 0x11111111u);
  EXPECT_EQ(r.resultHigh, 0x22222222u);
}

TEST_F(EventDispatch, RoutineRemovingTheWrongWordCountLeavesTheCallerIntact) {
  volatile uint32_t guard = 0xC0FFEE;
  rt::EventRecord r = Record(kButton, 5, {42});
  EXPECT_EQ(rt::FireEvent(&r), 1);
  EXPECT_EQ(g_calls.back(), (std::vector<uint32_t>{42}));
  EXPECT_EQ(guard, 0xC0FFEEu);
}

TEST_F(EventDispatch, BlockedEventsCallNothing) {
  rt::Runtime().eventBlockCount = 1;
  rt::EventRecord r = Record(kButton, -1, {1, 2});
  EXPECT_EQ(rt::FireEvent(&r), 0);
  r = Record(0, 0);
  r.windowId = 0x999;  // not even checked while blocked
  EXPECT_EQ(rt::FireEvent(&r), 0);
  EXPECT_TRUE(g_calls.empty());
  rt::Runtime().eventBlockCount = 0;
}

TEST_F(EventDispatch, FatalTextsForUnknownWindowElementAndInvalidType) {
  rt::EventRecord r = Record(kButton, -1);
  r.windowId = 0x999;
  EXPECT_NE(FatalText(r).find("未找到引发事件的窗口"), std::string::npos);
  EXPECT_EQ(FatalText(r).find("组件"), std::string::npos);
  EXPECT_NE(FatalText(Record(0x16019999, -1)).find("未找到引发事件的窗口组件"), std::string::npos);
  EXPECT_NE(FatalText(Record(kBad, 0)).find("引发事件的窗口组件无效"), std::string::npos);
  rt::Runtime().windows[kWin].elements[4].typeId = 0x10009;  // type number out of range
  EXPECT_NE(FatalText(Record(kBad, 0)).find("引发事件的窗口组件无效"), std::string::npos);
  EXPECT_TRUE(g_calls.empty());
}

}  // namespace
