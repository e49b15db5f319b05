// The message loop of the user-interface thread: idle phase, message phase and the
// pre-translation chain.
#include "runtime/message_loop.h"

#include <algorithm>

#include "runtime/events.h"
#include "runtime/runtime_service.h"
#include "runtime/values.h"
#include "runtime/window_loader.h"

namespace rt {

void NoteQuitCode(int code);

namespace {

struct IdleState {
  bool wanted = true;
  int32_t count = 0;
  bool frameworkPhase = false;
  DWORD start = 0;
  std::vector<uint32_t> done;  // windows that answered their idle event with 0
};

MSG g_lastMouseMove = {};
MSG g_lastPumped = {};

bool PreTranslate(MSG* msg) {
  // Thread messages: the runtime installs no thread handlers of its own.
  if (!msg->hwnd) return false;
  return PreTranslateWindowMessage(msg);
}

// Whether a pumped message ends idleness.
bool BreaksIdle(const MSG& msg) {
  if (msg.message == WM_PAINT || msg.message == 0x0118) return false;
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    if (msg.message == g_lastMouseMove.message && msg.pt.x == g_lastMouseMove.pt.x &&
        msg.pt.y == g_lastMouseMove.pt.y)
      return false;
    g_lastMouseMove = msg;
  }
  return true;
}

// Fires the idle event 7 of every loaded window that still wants idle time.
bool FireWindowIdleEvents(IdleState& idle) {
  bool more = false;
  std::vector<uint32_t> ids;
  for (const auto& entry : Runtime().windows) {
    const WindowTemplate& w = entry.second;
    if (w.elements.empty() || !w.elements[0].object || !IsWindow(w.elements[0].object->hwnd())) continue;
    if (std::find(idle.done.begin(), idle.done.end(), entry.first) != idle.done.end()) continue;
    ids.push_back(entry.first);
  }
  for (uint32_t id : ids) {
    EventRecord record = {};
    record.windowId = id;
    record.eventIndex = 7;
    record.argCount = 1;
    record.args[0] = static_cast<int32_t>(GetTickCount() - idle.start);
    RuntimeService(SvcFireEvent, static_cast<int32_t>(Word(&record)), 0);
    if (record.answered == 1 && record.result != 0)
      more = true;
    else
      idle.done.push_back(id);
  }
  return more;
}

bool IdleStep(IdleState& idle) {
  if (idle.count == 0) {
    idle.frameworkPhase = true;
    idle.start = GetTickCount();
    idle.done.clear();
  }
  if (idle.frameworkPhase) {
    // The framework keeps no command states or temporary objects to release.
    idle.frameworkPhase = false;
    return true;
  }
  if (idle.count < 2) return true;
  return FireWindowIdleEvents(idle);
}

void RunIdleCallbacks() {
  std::vector<IdleCallback>& list = Runtime().idleCallbacks;
  for (size_t i = list.size(); i-- > 0;) {
    if (i >= list.size()) continue;
    IdleCallback entry = list[i];
    if (IsWindow(entry.window))
      entry.routine(entry.parameter);
    else
      list.erase(list.begin() + i);
  }
}

bool MessageWaiting(MSG* msg) { return PeekMessageA(msg, nullptr, 0, 0, PM_NOREMOVE) != 0; }

// PumpMessage for a loop nested inside another one.  A WM_QUIT can still be taken
// after the look for a waiting one (it arrives while GetMessageA waits); it is posted
// again with its exit code so that the outer loop sees it and ends too.
bool PumpNestedMessage() {
  if (PumpMessage()) return true;
  if (g_lastPumped.message == WM_QUIT) PostQuitMessage(static_cast<int>(g_lastPumped.wParam));
  return false;
}

}  // namespace

bool PumpMessage() {
  MSG msg = {};
  if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
    g_lastPumped = msg;
    NoteQuitCode(static_cast<int>(msg.wParam));
    return false;
  }
  g_lastPumped = msg;
  if (!PreTranslate(&msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

void PumpWaitingMessages() {
  MSG msg;
  while (MessageWaiting(&msg) && msg.message != WM_QUIT) {
    if (!PumpNestedMessage()) return;
  }
}

void RunLoop(bool modal) {
  IdleState idle;
  MSG msg;
  for (;;) {
    while (idle.wanted) {
      if (MessageWaiting(&msg)) break;
      RunIdleCallbacks();
      if (!IdleStep(idle)) idle.wanted = false;
      ++idle.count;
      if (modal && Runtime().modalWindowId == 0) return;
    }
    do {
      if (modal) {
        if (MessageWaiting(&msg) && msg.message == WM_QUIT) return;
      }
      if (!(modal ? PumpNestedMessage() : PumpMessage())) return;
      if (modal && Runtime().modalWindowId == 0) return;
      if (BreaksIdle(g_lastPumped)) {
        idle.wanted = true;
        idle.count = 0;
      }
    } while (MessageWaiting(&msg));
  }
}

void RegisterIdleCallback(HWND window, IdleRoutineFn routine, int32_t parameter) {
  if (!window || !IsWindow(window) || !routine) return;
  std::vector<IdleCallback>& list = Runtime().idleCallbacks;
  for (const IdleCallback& e : list)
    if (e.window == window) return;
  list.push_back({window, routine, parameter});
}

void UnregisterIdleCallback(HWND window) {
  std::vector<IdleCallback>& list = Runtime().idleCallbacks;
  list.erase(std::remove_if(list.begin(), list.end(), [&](const IdleCallback& e) { return e.window == window; }),
             list.end());
}

}  // namespace rt
