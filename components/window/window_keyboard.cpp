// The window component's pre-translation: accelerators, message filters, dragging by
// the client area, keyboard navigation between components, and the events common to
// every component (mouse, keys, characters, wheel).
#include <algorithm>
#include <cctype>
#include <string>

#include "components/component_type.h"
#include "components/kernel_library.h"
#include "components/window/window_component.h"
#include "runtime/runtime_state.h"

namespace comp {
namespace {


template <typename Fn>
Fn Slot(const rt::ComponentTypeInfo* type, int32_t slot) {
  return type && type->getInterface ? reinterpret_cast<Fn>(type->getInterface(slot)) : nullptr;
}

bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

int32_t ModifierKeys() { return (KeyDown(VK_CONTROL) ? 1 : 0) | (KeyDown(VK_SHIFT) ? 2 : 0) | (KeyDown(VK_MENU) ? 4 : 0); }

// Key code with the numeric keypad folded onto the main keyboard.
int32_t FoldKeyCode(WPARAM wParam) {
  int32_t vk = static_cast<int32_t>(wParam & 0xFF);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return '0' + (vk - VK_NUMPAD0);
  if (vk == VK_SUBTRACT) return 189;
  if (vk == VK_DECIMAL) return 190;
  if (vk == VK_DIVIDE) return 191;
  return vk;
}

// Key state of a key message: a modifier is not reported for its own key.
int32_t KeyState(int32_t vk) {
  int32_t state = ModifierKeys();
  if (vk == VK_CONTROL) state &= ~1;
  if (vk == VK_SHIFT) state &= ~2;
  if (vk == VK_MENU) state &= ~4;
  return state;
}

struct Candidate {
  HWND hwnd;
  int32_t tabOrder;
};

}  // namespace

// Candidates by tab order, ties by the higher element index first.
static std::vector<Candidate> FocusOrder(rt::WindowTemplate& w) {
  std::vector<Candidate> list;
  for (size_t i = w.elements.size(); i-- > 1;) {
    const rt::ElementTemplate& e = w.elements[i];
    if (!e.IsComponent() || !e.object) continue;
    HWND h = e.object->hwnd();
    if (!h || !IsWindow(h) || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    const rt::ComponentTypeInfo* type = ComponentTypeOf(e.typeId);
    if (!type || (type->flags & (rt::TypeHiddenAtRunTime | kTypeNoTabStop))) continue;
    if (!(e.stateFlags & rt::StateTabStop)) continue;
    auto at = std::upper_bound(list.begin(), list.end(), e.tabOrder,
                               [](int32_t order, const Candidate& c) { return order < c.tabOrder; });
    list.insert(at, Candidate{h, e.tabOrder});
  }
  return list;
}

HWND WindowComponent::FirstInFocusOrder() {
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return nullptr;
  std::vector<Candidate> list = FocusOrder(*w);
  return list.empty() ? nullptr : list.front().hwnd;
}

HWND WindowComponent::NextInFocusOrder(HWND focused, bool backwards) {
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return nullptr;
  std::vector<Candidate> list = FocusOrder(*w);
  if (list.empty()) return nullptr;
  // The focused element: the component whose window is or holds the focus.
  const rt::ElementTemplate* focusedElement = nullptr;
  for (HWND h = focused; h && h != hwnd() && !focusedElement; h = GetParent(h))
    for (const rt::ElementTemplate& e : w->elements)
      if (e.IsComponent() && e.object && e.object->hwnd() == h) { focusedElement = &e; break; }
  if (focusedElement) {
    const rt::ComponentTypeInfo* type = ComponentTypeOf(focusedElement->typeId);
    const uint32_t flags = type ? type->flags : 0;
    if (flags & (kTypeTakesNoFocus | kTypeTakesNoFocusFromZero)) {
      const int32_t order = (flags & kTypeTakesNoFocusFromZero) ? 0 : focusedElement->tabOrder;
      if (!backwards) {
        for (const Candidate& c : list)
          if (c.tabOrder >= order) return c.hwnd;
        return list.front().hwnd;
      }
      for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->tabOrder < order) return it->hwnd;
      return list.back().hwnd;
    }
    HWND own = focusedElement->object->hwnd();
    for (size_t i = 0; i < list.size(); ++i) {
      if (list[i].hwnd != own) continue;
      const size_t n = list.size();
      return list[backwards ? (i + n - 1) % n : (i + 1) % n].hwnd;
    }
  }
  return backwards ? list.back().hwnd : list.front().hwnd;
}

bool WindowComponent::ClickDefaultButton() {
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return false;
  for (const rt::ElementTemplate& e : w->elements) {
    if (!e.IsComponent() || !e.object) continue;
    const rt::ComponentTypeInfo* type = ComponentTypeOf(e.typeId);
    if (!type || !(type->flags & rt::TypeHasDefaultButton)) continue;
    auto isDefault = Slot<rt::IsDefaultButtonFn>(type, rt::SlotIsDefaultButton);
    if (!isDefault || !isDefault(e.object)) continue;
    FireFor(e.id, 0);
    return true;
  }
  return false;
}

bool WindowComponent::HandleKey(MSG* msg) {
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return false;
  const int32_t vk = static_cast<int32_t>(msg->wParam & 0xFF);
  HWND focus = GetFocus();
  const rt::ElementTemplate* focused = nullptr;
  for (HWND h = focus; h && !focused; h = GetParent(h)) {
    for (const rt::ElementTemplate& e : w->elements)
      if (e.IsComponent() && e.object && e.object->hwnd() == h) { focused = &e; break; }
    if (h == hwnd()) break;
  }
  const rt::ComponentTypeInfo* focusedType = focused ? ComponentTypeOf(focused->typeId) : nullptr;
  auto wants = [&](int32_t key) {
    auto fn = Slot<rt::WantsKeyFn>(focusedType, rt::SlotWantsKey);
    return fn && focused && fn(focused->object, key) != 0;
  };
  const int32_t modifiers = ModifierKeys();

  if (msg->message == WM_KEYDOWN) {
    if (vk == VK_TAB && !(modifiers & (1 | 4))) {
      if (wants(VK_TAB)) return false;
      if (HWND next = NextInFocusOrder(focus, (modifiers & 2) != 0)) SetFocus(next);
      return true;
    }
    if (vk == VK_RETURN && modifiers == 0) {
      if (wants(VK_RETURN)) return false;
      if (focused && focusedType && (focusedType->flags & rt::TypeHasDefaultButton)) {
        FireFor(focused->id, 0);
        return true;
      }
      if (data_.enterMovesFocus) {
        if (HWND next = NextInFocusOrder(focus, false)) SetFocus(next);
        return true;
      }
      return ClickDefaultButton();
    }
    if (vk == VK_ESCAPE && modifiers == 0 && data_.escapeCloses) {
      if (wants(VK_ESCAPE)) return false;
      SendMessageA(hwnd(), WM_CLOSE, 0, 0);
      return true;
    }
    if (vk == VK_F1 && data_.f1Help) {
      std::string file = data_.helpFile;
      if (file.empty()) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        file = path;
        size_t dot = file.find_last_of('.');
        if (dot != std::string::npos) file = file.substr(0, dot + 1) + "hlp";
        if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
      }
      helpShown_ = true;
      if (data_.helpContext != 0) WinHelpA(hwnd(), file.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(data_.helpContext));
      else WinHelpA(hwnd(), file.c_str(), HELP_FINDER, 0);
      return true;
    }
  }
  if (msg->message == WM_SYSKEYDOWN && (modifiers & 4) && std::isalnum(vk)) {
    // Alt + letter or digit: the first visible, enabled component whose caption
    // holds the mnemonic "&" + that character.
    const char wantedChar = static_cast<char>(std::tolower(vk));
    for (size_t i = 1; i < w->elements.size(); ++i) {
      const rt::ElementTemplate& e = w->elements[i];
      if (!e.IsComponent() || !e.object) continue;
      HWND h = e.object->hwnd();
      if (!h || !IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
      char caption[256] = {};
      GetWindowTextA(h, caption, sizeof caption);
      for (const char* p = caption; *p; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x81 && p[1]) { ++p; continue; }  // two-byte character
        if (*p == '&' && p[1] && std::tolower(static_cast<unsigned char>(p[1])) == wantedChar) {
          SetFocus(h);
          return true;
        }
      }
    }
  }
  return false;
}

bool WindowComponent::FireCommonEvent(MSG* msg) {
  HWND self = hwnd();
  if (GetWindowLongA(self, GWL_STYLE) & WS_CHILD) return false;
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return false;
  uint32_t elementId = 0;
  bool found = msg->hwnd == self;
  for (HWND h = msg->hwnd; !found && h && h != self; h = GetParent(h)) {
    for (const rt::ElementTemplate& e : w->elements) {
      if (e.IsComponent() && e.object && e.object->hwnd() == h) {
        elementId = e.id;
        found = true;
        break;
      }
    }
  }
  if (!found) return false;

  rt::EventRecord record = {};
  record.windowId = windowId();
  record.elementId = elementId;
  const int32_t keys = ModifierKeys();
  auto mouse = [&](int32_t event) {
    record.eventIndex = event;
    record.argCount = 3;
    record.args[0] = LOWORD(msg->lParam);
    record.args[1] = HIWORD(msg->lParam);
    record.args[2] = keys;
  };
  switch (msg->message) {
    case WM_LBUTTONDOWN: mouse(rt::EventLeftDown); break;
    case WM_LBUTTONUP: mouse(rt::EventLeftUp); break;
    case WM_LBUTTONDBLCLK: mouse(rt::EventLeftDoubleClick); break;
    case WM_RBUTTONDOWN: mouse(rt::EventRightDown); break;
    case WM_RBUTTONUP: mouse(rt::EventRightUp); break;
    case WM_MOUSEMOVE: mouse(rt::EventMouseMove); break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: {
      const int32_t vk = static_cast<int32_t>(msg->wParam & 0xFF);
      record.eventIndex = (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) ? rt::EventKeyDown : rt::EventKeyUp;
      record.argCount = 2;
      record.args[0] = FoldKeyCode(msg->wParam);
      record.args[1] = KeyState(vk);
      break;
    }
    case WM_CHAR:
      record.eventIndex = rt::EventChar;
      record.argCount = 1;
      record.args[0] = static_cast<int32_t>(msg->wParam);
      break;
    case WM_MOUSEWHEEL:
      record.eventIndex = rt::EventWheel;
      record.argCount = 2;
      record.args[0] = static_cast<int16_t>(HIWORD(msg->wParam)) / WHEEL_DELTA;
      record.args[1] = keys;
      break;
    default:
      return false;
  }
  link().Call(rt::SvcFireEvent, rt::LibraryLink::Word(&record), 0);
  if (!::IsWindow(self)) return true;  // the routine closed the window
  if (record.answered != 1) return false;
  if (msg->message == WM_CHAR && record.result != 0) {
    msg->wParam = static_cast<WPARAM>(record.result);
    return false;
  }
  return record.result == 0;
}

bool WindowComponent::PreTranslateMessage(MSG* msg) {
  HWND self = hwnd();
  const UINT m = msg->message;
  const bool keyboard = m >= WM_KEYFIRST && m <= WM_KEYLAST;
  if (keyboard && !IsWindowEnabled(self)) return false;
  if (m == WM_LBUTTONDOWN || m == WM_NCLBUTTONDOWN) {
    HWND capture = GetCapture();
    if (capture && capture != msg->hwnd) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  }
  if (keyboard && accelerators_ && TranslateAcceleratorA(self, accelerators_.get(), msg)) return true;
  const bool inside = msg->hwnd == self || IsChild(self, msg->hwnd);
  if (!inside) return false;

  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (w) {
    for (size_t i = 1; i < w->elements.size(); ++i) {
      const rt::ElementTemplate& e = w->elements[i];
      if (!e.IsComponent() || !e.object) continue;
      const rt::ComponentTypeInfo* type = ComponentTypeOf(e.typeId);
      if (!type || !(type->flags & rt::TypeFiltersMessages)) continue;
      auto filter = Slot<rt::FilterMessageFn>(type, rt::SlotFilterMessage);
      if (filter && filter(e.object, msg)) return true;
      if (!::IsWindow(self)) return true;
    }
  }
  if (m == WM_LBUTTONDOWN && data_.dragByClient && w) {
    bool drags = msg->hwnd == self;
    for (const rt::ElementTemplate& e : w->elements) {
      if (!drags && e.IsComponent() && e.object && e.object->hwnd() == msg->hwnd) {
        const rt::ComponentTypeInfo* type = ComponentTypeOf(e.typeId);
        drags = type && (type->flags & rt::TypeDragsForm);
      }
    }
    if (drags) {
      ReleaseCapture();
      SendMessageA(self, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return true;
    }
  }
  if ((m == WM_KEYDOWN || m == WM_SYSKEYDOWN) && HandleKey(msg)) return true;
  if (!::IsWindow(self)) return true;
  const bool common = keyboard ? (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN ||
                                  m == WM_SYSKEYUP)
                               : (m >= WM_MOUSEMOVE && m <= WM_MOUSEWHEEL);
  return common && FireCommonEvent(msg);
}

}  // namespace comp
