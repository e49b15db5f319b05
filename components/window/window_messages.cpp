// The window component's message handling.
#include "components/kernel_library.h"
#include "components/menu/menu.h"
#include "components/window/window_component.h"
#include "runtime/runtime_state.h"

namespace comp {
namespace {

constexpr UINT kMsgSizeYourself = 0x8003;
constexpr UINT kMsgTrayIcon = 0x8064;
constexpr int32_t kFirstMenuId = static_cast<int32_t>(kFirstMenuCommand);
constexpr int32_t kFirstSystemCommand = 57600;

bool g_activating = false;  // WM_ACTIVATE re-entry guard, one for all windows

}  // namespace

LRESULT WindowComponent::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND h = hwnd();
  LRESULT result = 0;
  switch (msg) {
    case WM_CLOSE:
      return OnClose();
    case WM_QUERYENDSESSION: {
      result = DefaultProc(msg, wParam, lParam);
      if (Fire(1).Suppresses()) return FALSE;
      return result;
    }
    case WM_DESTROY:
      OnDestroy();
      return DefaultProc(msg, wParam, lParam);
    case WM_MOVE:
      result = DefaultProc(msg, wParam, lParam);
      Fire(3);
      return result;
    case WM_SIZE:
      result = DefaultProc(msg, wParam, lParam);
      ApplyShape();
      ArrangeDockedBars();
      Fire(4);
      return result;
    case WM_ACTIVATE:
      result = DefaultProc(msg, wParam, lParam);
      OnActivate(wParam, lParam);
      return result;
    case WM_SETFOCUS:
      result = DefaultProc(msg, wParam, lParam);
      OnSetFocus();
      return result;
    case WM_KILLFOCUS:
      result = DefaultProc(msg, wParam, lParam);
      Fire(rt::EventLostFocus);
      return result;
    case WM_SHOWWINDOW:
      Fire(wParam ? 10 : 11);
      if (!::IsWindow(h)) return 0;
      return DefaultProc(msg, wParam, lParam);
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      return DefaultProc(msg, wParam, lParam);
    case WM_NCACTIVATE:
      if (!wParam && data_.captionAlwaysActive) return DefaultProc(msg, TRUE, lParam);
      return DefaultProc(msg, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole update area
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(h, &client);
      PaintBackground(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_INITMENUPOPUP:
      if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
      return DefaultProc(msg, wParam, lParam);
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && ReflectToChild(header->hwndFrom, msg, wParam, lParam, &result)) return result;
      return DefaultProc(msg, wParam, lParam);
    }
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORDLG: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_HSCROLL: case WM_VSCROLL:
      if (lParam && ReflectToChild(reinterpret_cast<HWND>(lParam), msg, wParam, lParam, &result)) return result;
      return DefaultProc(msg, wParam, lParam);
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->CtlType != ODT_MENU && ReflectToChild(item->hwndItem, msg, wParam, lParam, &result))
        return result;
      return DefaultProc(msg, wParam, lParam);
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      if (item && item->CtlType != ODT_MENU &&
          ReflectToChild(GetDlgItem(h, static_cast<int>(wParam)), msg, wParam, lParam, &result))
        return result;
      return DefaultProc(msg, wParam, lParam);
    }
    case rt::kMsgComponentsPlaced:
      dockingOn_ = true;
      ArrangeDockedBars();
      return 0;
    case kMsgTrayIcon:
      OnTrayIcon(lParam);
      return 0;
    default:
      return DefaultProc(msg, wParam, lParam);
  }
}

LRESULT WindowComponent::OnClose() {
  HWND h = hwnd();
  EventAnswer answer = Fire(1);
  if (!::IsWindow(h)) return 0;
  if (answer.Suppresses()) return 0;
  RestoreDisabledWindows();
  DestroyWindow(h);
  return 0;
}

void WindowComponent::OnDestroy() {
  HWND h = hwnd();
  ReleaseComponentResources();
  Fire(2);
  if (helpShown_) {
    helpShown_ = false;
    WinHelpA(h, nullptr, HELP_QUIT, 0);
  }
  if (HMENU menu = GetMenu(h)) {
    SetMenu(h, nullptr);
    DestroyMenu(menu);
  }
  // The window never adds a tray icon, so there is none to remove.
}

void WindowComponent::ReleaseComponentResources() {
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return;
  for (const rt::ElementTemplate& e : w->elements) {
    if (!e.IsComponent() || !e.object) continue;
    const rt::ComponentTypeInfo* type = ComponentTypeOf(e.typeId);
    if (type && (type->flags & rt::TypeReleasesResources)) e.object->ReleaseExtraResources();
  }
}

// The notification area reports mouse actions on the window's tray icon with the mouse
// message in lParam: event 9 gets 1 (left button up), 2 (left double click) or 3 (right
// button up or context menu); other actions fire nothing.
void WindowComponent::OnTrayIcon(LPARAM mouseMessage) {
  int32_t button = 0;
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP: button = 1; break;
    case WM_LBUTTONDBLCLK: button = 2; break;
    case WM_RBUTTONUP: case WM_CONTEXTMENU: button = 3; break;
    default: return;
  }
  Fire(9, {button});
}

void WindowComponent::OnActivate(WPARAM wParam, LPARAM) {
  if (g_activating) return;
  HWND h = hwnd();
  const bool active = LOWORD(wParam) != WA_INACTIVE;
  if (active && firstActivationDone_ && !IsWindowEnabled(h) && rt::Runtime().programKind != 0 &&
      !(GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) {
    // A modal window of the program takes the activation instead of the one it disabled.
    for (auto& entry : rt::Runtime().windows) {
      if (entry.first == windowId() || entry.second.elements.empty()) continue;
      auto* other = dynamic_cast<WindowComponent*>(entry.second.elements[0].object);
      if (other && other->modal_ && other->hwnd() && IsWindowVisible(other->hwnd()) &&
          IsWindowEnabled(other->hwnd())) {
        SetActiveWindow(other->hwnd());
        return;
      }
    }
  }
  UpdateWindow(h);
  if (!::IsWindow(h)) return;
  if (active && !firstActivationDone_) {
    firstActivationDone_ = true;
    Fire(8);
    if (!::IsWindow(h)) return;
  }
  g_activating = true;
  Fire(active ? 5 : 6);
  g_activating = false;
  if (!::IsWindow(h)) return;
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(h, focus)) lastFocus_ = focus;
  }
}

void WindowComponent::OnSetFocus() {
  HWND h = hwnd();
  Fire(rt::EventGotFocus);
  if (!::IsWindow(h)) return;
  HWND target = lastFocus_ && IsChild(h, lastFocus_) ? lastFocus_ : FirstInFocusOrder();
  if (target) SetFocus(target);
}

bool WindowComponent::OnSetCursor(HWND over, UINT hitTest) {
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return false;
  for (const rt::ElementTemplate& e : w->elements) {
    if (!e.object || e.object->hwnd() != over || !e.cursor) continue;
    if (e.IsWindow() && hitTest != HTCLIENT) return false;
    SetCursor(e.cursor);
    return true;
  }
  return false;
}

LRESULT WindowComponent::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int32_t id = LOWORD(wParam);
  LRESULT result = 0;
  if (id >= kFirstSystemCommand) return 0;
  if (id < kFirstMenuId) {
    HWND child = GetDlgItem(hwnd(), id);
    if (!child && lParam) child = reinterpret_cast<HWND>(lParam);
    if (child && ReflectToChild(child, WM_COMMAND, wParam, lParam, &result)) return result;
    return DefaultProc(WM_COMMAND, wParam, lParam);
  }
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return 0;
  // Position within the window's run of menu items.
  int32_t position = id - kFirstMenuId;
  for (const rt::ElementTemplate& e : w->elements) {
    if (!e.IsMenuItem()) continue;
    if (position-- == 0) {
      FireFor(e.id, 0);
      break;
    }
  }
  return 0;
}

void WindowComponent::ArrangeDockedBars() {
  if (!dockingOn_) return;
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  int top = client.top, bottom = client.bottom;
  std::vector<HWND> bars;
  for (const rt::ElementTemplate& e : w->elements) {
    if (e.IsWindow() || e.IsMenuItem() || !e.object || !::IsWindow(e.object->hwnd())) continue;
    const rt::ComponentTypeInfo* type = ComponentTypeOf(e.typeId);
    if (!type || !(type->flags & rt::TypeNotifiesParent)) continue;
    SendMessageA(e.object->hwnd(), kMsgSizeYourself, 0, 0);
    bars.push_back(e.object->hwnd());
  }
  for (HWND bar : bars) {
    const LONG dock = GetWindowLongA(bar, GWL_STYLE) & 3;
    if (dock != 1 && dock != 3) continue;
    RECT r;
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    const int height = r.bottom - r.top;
    const int y = dock == 1 ? top : bottom - height;
    if (dock == 1) top += height;
    else bottom -= height;
    if (r.top != y) SetWindowPos(bar, nullptr, r.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace comp
