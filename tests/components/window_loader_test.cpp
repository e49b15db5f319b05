// Loading forms under the virtual display: ids, parents, stacking, visibility, events.
#include "components/form_fixture.h"

#include "components/window/window_component.h"
#include "runtime/component_properties.h"

namespace formtest {
namespace {

rt::WindowTemplate MainForm(comp::WindowData props = {}) {
  props.caption = "测试窗口";
  rt::WindowTemplate w;
  w.id = kWindowId;
  rt::ElementTemplate window = WindowElement(props);
  window.events = {{0, Offset(reinterpret_cast<void*>(&Created)), 0},
                   {3, Offset(reinterpret_cast<void*>(&Moved)), 0},
                   {4, Offset(reinterpret_cast<void*>(&Resized)), 0}};
  rt::ElementTemplate b1 = BoxElement(0x16010001, kBoxType, 10, 10, 5, 2);
  b1.events = {{0, Offset(reinterpret_cast<void*>(&BoxEvent0)), 0},
               {-1, Offset(reinterpret_cast<void*>(&AnsweringRoutine)), 0}};
  rt::ElementTemplate menu;
  menu.id = 0x26010002;
  menu.typeId = rt::TypeMenu;
  menu.caption = "文件";
  rt::ElementTemplate b2 = BoxElement(0x16010003, kBoxType, 10, 50, 5, 1);
  rt::ElementTemplate hidden = BoxElement(0x16010004, kHiddenType, 10, 90, 5, 0);
  rt::ElementTemplate b3 = BoxElement(0x16010005, kBoxType, 100, 10, 5, 1);  // same tab order as b2
  w.elements = {window, b1, menu, b2, hidden, b3};
  return w;
}

// The main form and a second window 0x52010002 that holds only its window element,
// without events.
std::vector<rt::WindowTemplate> MainAndSecondForm() {
  rt::WindowTemplate second = MainForm();
  second.id = 0x52010002;
  second.elements.resize(1);
  second.elements[0].events.clear();
  return {MainForm(), second};
}

BOOL CALLBACK CountWindow(HWND, LPARAM p) {
  ++*reinterpret_cast<int*>(p);
  return TRUE;
}

void CALLBACK CloseSecondWindow(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  rt::WindowObject* o = rt::Runtime().windows.at(0x52010002).elements[0].object;
  if (o) PostMessageA(o->hwnd(), WM_CLOSE, 0, 0);
}

TEST_F(FormTest, ControlIdsFollowReverseElementOrderAndParentsAreTheWindow) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  HWND frame = Hwnd();
  ASSERT_TRUE(IsWindow(frame));
  EXPECT_EQ(GetDlgCtrlID(Hwnd(kWindowId, 5)), 100);
  EXPECT_EQ(GetDlgCtrlID(Hwnd(kWindowId, 4)), 110);
  EXPECT_EQ(GetDlgCtrlID(Hwnd(kWindowId, 3)), 120);
  EXPECT_EQ(GetDlgCtrlID(Hwnd(kWindowId, 1)), 130);
  EXPECT_EQ(Window().elements[2].object, nullptr);  // menu items get no object
  for (size_t i : {1u, 3u, 4u, 5u}) EXPECT_EQ(GetParent(Hwnd(kWindowId, i)), frame);
  // Stacking: element order from the top.
  EXPECT_EQ(GetWindow(frame, GW_CHILD), Hwnd(kWindowId, 1));
  EXPECT_EQ(GetWindow(Hwnd(kWindowId, 1), GW_HWNDNEXT), Hwnd(kWindowId, 3));
  EXPECT_EQ(GetWindow(Hwnd(kWindowId, 3), GW_HWNDNEXT), Hwnd(kWindowId, 4));
  // Hidden-at-run-time types are never shown.
  EXPECT_TRUE(IsWindowVisible(Hwnd(kWindowId, 1)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(kWindowId, 4)));
  EXPECT_TRUE(IsWindowVisible(frame));
  char cls[32] = {};
  GetClassNameA(frame, cls, sizeof cls);
  EXPECT_STREQ(cls, "WTWindow");
  EXPECT_EQ(rt::Runtime().eventBlockCount, 0);
}

TEST_F(FormTest, CreationEventsRunAfterTheLoadUnblocksEventsAndLoadEventsCallNothing) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  ASSERT_GE(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[0].what, "created");
  EXPECT_EQ(g_calls[0].args[0], 0);  // events unblocked
  EXPECT_EQ(g_calls[1].what, "moved");
  EXPECT_EQ(g_calls[2].what, "resized");
  for (const Call& c : g_calls) EXPECT_NE(c.what, "box0");  // fired during creation
}

TEST_F(FormTest, ComponentsGetTheLoadMessagesLastElementFirst) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  // Components at elements 1, 3, 4 and 5 (element 2 is a menu item).
  const std::vector<std::pair<UINT, uint32_t>> expected = {
      {0x806F, 0x16010005}, {0x806F, 0x16010004}, {0x806F, 0x16010003}, {0x806F, 0x16010001},
      {0x8076, 0x16010005}, {0x8076, 0x16010004}, {0x8076, 0x16010003}, {0x8076, 0x16010001}};
  EXPECT_EQ(g_loadMessages, expected);
}

TEST_F(FormTest, LoadingAnOpenWindowAgainActivatesIt) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  HWND first = Hwnd();
  ShowWindow(first, SW_MINIMIZE);
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  EXPECT_EQ(Hwnd(), first);
  EXPECT_FALSE(IsIconic(first));
}

TEST_F(FormTest, FailedComponentCreationFailsTheLoadAndLeavesNothing) {
  rt::WindowTemplate w = MainForm();
  w.elements.push_back(BoxElement(0x16010009, kFailingType, 0, 0));
  w.elements.insert(w.elements.begin() + 1, BoxElement(0x16010008, kBoxType, 0, 0));
  Install({w});
  int before = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow,
                    reinterpret_cast<LPARAM>(&before));
  EXPECT_FALSE(rt::LoadWindow(kWindowId, nullptr, false));
  int after = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow,
                    reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(after, before);
  for (const auto& e : Window().elements) EXPECT_EQ(e.object, nullptr);
  EXPECT_FALSE(Window().hasSnapshot);
  EXPECT_EQ(rt::Runtime().eventBlockCount, 0);
  EXPECT_FALSE(rt::AnyLiveWindow());
  EXPECT_FALSE(rt::LoadWindow(0x1234, nullptr, false));  // unknown id
}

TEST_F(FormTest, OwnerThatIsNotAWindowFailsWithNothingCreated) {
  Install({MainForm()});
  EXPECT_FALSE(rt::LoadWindow(kWindowId, reinterpret_cast<HWND>(0x4444), false));
  EXPECT_FALSE(rt::AnyLiveWindow());
}

TEST_F(FormTest, ModalLoadDisablesOtherWindowsAndClosingRestoresThem) {
  Install(MainAndSecondForm());
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  ASSERT_TRUE(rt::LoadWindow(0x52010002, nullptr, true));
  EXPECT_FALSE(IsWindowEnabled(Hwnd()));
  EXPECT_TRUE(IsWindowEnabled(Hwnd(0x52010002)));
  SendMessageA(Hwnd(0x52010002), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(Hwnd()));
  EXPECT_EQ(Window(0x52010002).elements[0].object, nullptr);
}

TEST_F(FormTest, ModalServiceRunsANestedLoopThatEndsWhenTheWindowCloses) {
  Install(MainAndSecondForm());
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  // The nested loop runs until the modal window is gone; a timer closes it.
  SetTimer(nullptr, 0, 100, &CloseSecondWindow);
  rt::LoadWindowRequest request = {nullptr, 1};
  EXPECT_EQ(rt::RuntimeService(rt::SvcLoadWindow, 0x52010002, static_cast<int32_t>(reinterpret_cast<uintptr_t>(&request))), 1);
  EXPECT_EQ(Window(0x52010002).elements[0].object, nullptr);
  EXPECT_EQ(rt::Runtime().modalWindowId, 0u);
  EXPECT_TRUE(IsWindowEnabled(Hwnd()));
}

TEST_F(FormTest, ClosingRestoresTheTemplateFromItsSnapshotAndCanLoadAgain) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  rt::SetComponentProperty(kWindowId, 0x16010001, rt::PropTag, -1,
                           static_cast<uint32_t>(reinterpret_cast<uintptr_t>("changed")), 0);
  EXPECT_EQ(Window().elements[1].tag, "changed");
  DestroyWindow(Hwnd());
  EXPECT_FALSE(rt::AnyLiveWindow());
  EXPECT_EQ(Window().elements[1].tag, "");
  EXPECT_EQ(Window().elements[1].object, nullptr);
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  EXPECT_TRUE(rt::AnyLiveWindow());
}

TEST_F(FormTest, ClosingTheLastWindowPostsQuitOnlyWhenTheLoopRuns) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  rt::Runtime().loopRunning = true;
  SendMessageA(Hwnd(), WM_CLOSE, 0, 0);
  MSG msg;
  bool quit = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message == WM_QUIT) { quit = true; EXPECT_EQ(msg.wParam, 0u); }
  EXPECT_TRUE(quit);
  rt::Runtime().loopRunning = false;
}

TEST_F(FormTest, CloseQueryAnsweringZeroRefusesTheClose) {
  rt::WindowTemplate w = MainForm();
  w.elements[0].events.push_back({1, Offset(reinterpret_cast<void*>(&AnsweringNoArgs)), 0});
  Install({w});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  g_answer = 0;
  SendMessageA(Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(Hwnd()));
  g_answer = 1;
  HWND h = Hwnd();
  SendMessageA(h, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(FormTest, LeftButtonAnsweredZeroIsSwallowedAndArgumentsArrive) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  g_calls.clear();
  MSG msg = {Hwnd(kWindowId, 1), WM_LBUTTONDOWN, 0, MAKELPARAM(7, 9), 0, {0, 0}};
  g_answer = 0;
  EXPECT_TRUE(rt::PreTranslateWindowMessage(&msg));
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].args, (std::vector<int32_t>{7, 9, 0}));
  g_answer = 1;
  EXPECT_FALSE(rt::PreTranslateWindowMessage(&msg));
  MSG other = {Hwnd(kWindowId, 3), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};  // no binding
  EXPECT_FALSE(rt::PreTranslateWindowMessage(&other));
  EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(FormTest, RoutineClosingTheWindowDuringAMouseEventIsSafe) {
  rt::WindowTemplate w = MainForm();
  w.elements[1].events[1].routineOffset = Offset(reinterpret_cast<void*>(&ClosingRoutine));
  Install({w});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  HWND frame = Hwnd();
  MSG msg = {Hwnd(kWindowId, 1), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
  EXPECT_TRUE(rt::PreTranslateWindowMessage(&msg));  // discarded: the window is gone
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_FALSE(rt::AnyLiveWindow());
}

TEST_F(FormTest, TabOrderSmallerFirstTiesByHigherElementIndex) {
  Install({MainForm()});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  // Tab orders: element 1 -> 2, element 3 -> 1, element 5 -> 1; element 4 hidden.
  auto* form = dynamic_cast<comp::WindowComponent*>(Window().elements[0].object);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->FirstInFocusOrder(), Hwnd(kWindowId, 5));
  EXPECT_EQ(form->NextInFocusOrder(Hwnd(kWindowId, 5), false), Hwnd(kWindowId, 3));
  EXPECT_EQ(form->NextInFocusOrder(Hwnd(kWindowId, 3), false), Hwnd(kWindowId, 1));
  EXPECT_EQ(form->NextInFocusOrder(Hwnd(kWindowId, 1), false), Hwnd(kWindowId, 5));  // wraps
  EXPECT_EQ(form->NextInFocusOrder(Hwnd(kWindowId, 5), true), Hwnd(kWindowId, 1));
  SetFocus(Hwnd(kWindowId, 5));
  MSG tab = {Hwnd(kWindowId, 5), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_TRUE(rt::PreTranslateWindowMessage(&tab));
  EXPECT_EQ(GetFocus(), Hwnd(kWindowId, 3));
}

TEST_F(FormTest, EscapeClosesAtOnceOnlyWhenSet) {
  comp::WindowData props;
  props.escapeCloses = false;
  Install({MainForm(props)});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  MSG esc = {Hwnd(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_FALSE(rt::PreTranslateWindowMessage(&esc));
  Pump(50);
  EXPECT_TRUE(rt::AnyLiveWindow());
  DestroyWindow(Hwnd());
  props.escapeCloses = true;
  Install({MainForm(props)});
  ASSERT_TRUE(rt::LoadWindow(kWindowId, nullptr, false));
  esc.hwnd = Hwnd();
  EXPECT_TRUE(rt::PreTranslateWindowMessage(&esc));
  EXPECT_FALSE(rt::AnyLiveWindow()) << "closed before the key's pre-translation returns";
}

}  // namespace
}  // namespace formtest
