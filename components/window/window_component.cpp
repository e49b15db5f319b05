#include "components/window/window_component.h"

#include <memory>

#include "components/kernel_library.h"
#include "runtime/runtime_state.h"

namespace comp {
namespace {

constexpr const char* kDefaultClass = "WTWindow";
constexpr uint32_t kCaptionBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

const rt::ComponentTypeInfo kWindowType = ComponentTypeEntry<WindowComponent>(
    "窗口", "window", kTypeLibraryBit | rt::TypeIsForm | rt::TypeIsControl | rt::TypeIsContainer);

// Slot 9: the caption, then the help file, each offered to the visitor.
void WindowComponent::VisitStoredTexts(WindowData& p, rt::TextVisitorFn visitor, void* userData) {
  VisitTexts(visitor, userData, nullptr, {{&p.caption, 0}, {&p.helpFile, 0}});
}

rt::WindowTemplate* WindowTemplateOf(uint32_t windowId) {
  auto* table = static_cast<rt::WindowTable*>(rt::LibraryLink::Pointer(KernelLink().Call(rt::SvcWindowTable)));
  if (!table) return nullptr;
  auto it = table->find(windowId);
  return it == table->end() ? nullptr : &it->second;
}

const rt::ComponentTypeInfo* ComponentTypeOf(uint32_t typeId) {
  return static_cast<const rt::ComponentTypeInfo*>(
      rt::LibraryLink::Pointer(KernelLink().Call(rt::SvcTypeInfo, static_cast<int32_t>(typeId), 0)));
}

WindowComponent::WindowComponent(uint32_t windowId, uint32_t elementId, bool modal)
    : StoredComponent(KernelLink(), windowId, elementId), modal_(modal) {}

uint32_t WindowComponent::ComputeStyle(uint32_t style) const {
  style &= ~(kCaptionBits | WS_DLGFRAME | WS_THICKFRAME);
  if (data_.border != BorderNone) {
    if (!data_.caption.empty() || data_.controlBox) {
      style |= WS_CAPTION;
      if (data_.controlBox) style |= WS_SYSMENU;
    }
    style |= WS_DLGFRAME;
  }
  switch (data_.border) {
    case BorderResizable: case BorderResizableTool: case BorderResizableSunken: style |= WS_THICKFRAME; break;
    default: break;
  }
  if (data_.border != BorderNone) {
    if (data_.maxButton) style |= WS_MAXIMIZEBOX;
    if (data_.minButton) style |= WS_MINIMIZEBOX;
  }
  return style;
}

uint32_t WindowComponent::ComputeExStyle() const {
  switch (data_.border) {
    case BorderResizableTool: case BorderFixedTool: return WS_EX_TOOLWINDOW;
    case BorderResizableSunken: case BorderFixedSunken: return WS_EX_CLIENTEDGE;
    default: return 0;
  }
}

WindowComponent* WindowComponent::Create(const CreateArgs& a) {
  std::unique_ptr<WindowComponent> w(new WindowComponent(a.windowId, a.componentId, rt::LoadingModalWindow()));
  return w->CreateWindowOf(a) ? w.release() : nullptr;
}

bool WindowComponent::CreateWindowOf(const CreateArgs& a) {
  HMENU menu = a.menu;
  HWND owner = a.parent;
  int32_t left = a.left, top = a.top;
  const int32_t width = a.width, height = a.height;
  if (a.blobSize < 0 || !data_.Read(a.blob, static_cast<size_t>(a.blobSize))) return false;
  uint32_t style = ComputeStyle(a.style | WS_CLIPCHILDREN);
  if (data_.startPosition == StartCentred) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  } else if (data_.startPosition == StartMinimised) {
    style |= WS_MINIMIZE;
  } else if (data_.startPosition == StartMaximised && (style & WS_THICKFRAME)) {
    style |= WS_MAXIMIZE;
  }
  if (owner) style |= WS_POPUP;
  const rt::RuntimeState& rs = rt::Runtime();
  if (!owner && (modal_ || !data_.showInTaskbar) && rs.programKind != 0) owner = rs.messageWindow;

  const char* className = data_.className.empty() ? kDefaultClass : data_.className.c_str();
  if (!RegisterObjectClass(className, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                           static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  DecodeBackground();
  HWND h = CreateObjectWindow(ComputeExStyle(), className, data_.caption.c_str(), style, left, top, width, height,
                              owner, menu);
  if (!h) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  ReapplyCaptionStyles({width, height});  // the size of the window's record
  ApplyIcons();
  ApplyShape();
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (data_.alwaysOnTop) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!data_.movable) RemoveMenu(GetSystemMenu(h, FALSE), SC_MOVE, MF_BYCOMMAND);
  // The background-sound property is kept but never played: the tool has no media player.
  return true;
}

SIZE WindowComponent::WindowSize() const {
  RECT r;
  GetWindowRect(hwnd(), &r);
  return {r.right - r.left, r.bottom - r.top};
}

void WindowComponent::ReapplyCaptionStyles(SIZE size) {
  HWND h = hwnd();
  const uint32_t current = static_cast<uint32_t>(GetWindowLongA(h, GWL_STYLE));
  const uint32_t wanted = (current & ~kCaptionBits) | (ComputeStyle(current) & kCaptionBits);
  if (wanted != current) {
    SetWindowLongA(h, GWL_STYLE, static_cast<LONG>(wanted));
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const SIZE now = WindowSize();
  if (!IsIconic(h) && !IsZoomed(h) && (now.cx != size.cx || now.cy != size.cy))
    SetWindowPos(h, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowComponent::ApplyShape() {
  HWND h = hwnd();
  RECT r;
  GetWindowRect(h, &r);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  HRGN region = nullptr;
  switch (data_.shape) {
    case 1: region = CreateEllipticRgn(0, 0, w, ht); break;
    case 2: {
      const int corner = (w < ht ? w : ht) / 5;
      region = CreateRoundRectRgn(0, 0, w, ht, corner, corner);
      break;
    }
    case 3: {
      region = CreateEllipticRgn(0, 0, w, ht);
      rt::GdiObject<HRGN> inner(CreateEllipticRgn(w / 4, ht / 4, w - w / 4, ht - ht / 4));
      CombineRgn(region, region, inner.get(), RGN_DIFF);
      break;
    }
    default:  // 0 rectangle; outline shapes (4 and up) leave the region as it is
      if (data_.shape == 0) SetWindowRgn(h, nullptr, TRUE);
      return;
  }
  SetWindowRgn(h, region, TRUE);  // the window owns the region from here
}

void WindowComponent::CentreOnScreen() {
  RECT r;
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowComponent::SetAcceleratorTable(HACCEL table) { accelerators_.reset(table); }

void WindowComponent::SetDisabledWindows(std::vector<std::pair<HWND, bool>> windows) {
  disabledWindows_ = std::move(windows);
}

void WindowComponent::RestoreDisabledWindows() {
  for (auto& entry : disabledWindows_)
    if (::IsWindow(entry.first)) EnableWindow(entry.first, entry.second ? TRUE : FALSE);
  disabledWindows_.clear();
}

void WindowComponent::ShowAfterLoad() {
  HWND h = hwnd();
  int show = SW_SHOW;
  if (rt::Runtime().programKind != 0) {
    if (data_.startPosition == StartMaximised) show = SW_SHOWMAXIMIZED;
    else if (data_.startPosition == StartMinimised) show = SW_SHOWMINIMIZED;
  }
  ShowWindow(h, show);
  if (::IsWindow(h)) FireFocusedGotFocus();
}

void WindowComponent::FireFocusedGotFocus() {
  HWND focus = GetFocus();
  if (!focus || (focus != hwnd() && !IsChild(hwnd(), focus))) return;
  rt::WindowTemplate* w = WindowTemplateOf(windowId());
  if (!w) return;
  for (HWND h = focus; h; h = GetParent(h)) {
    for (const rt::ElementTemplate& e : w->elements) {
      if (e.object && e.object->hwnd() == h && !e.IsMenuItem()) {
        FireFor(e.IsWindow() ? 0 : e.id, rt::EventGotFocus);
        return;
      }
    }
    if (h == hwnd()) return;
  }
}

void WindowComponent::OnFinalMessage() {
  SetAcceleratorTable(nullptr);
  RestoreDisabledWindows();
  // Clears the template's live objects (and ends a nested modal loop for this window).
  link().Call(rt::SvcElementDestroyed, static_cast<int32_t>(windowId()), 0);
  if (rt::Runtime().loopRunning && !rt::AnyLiveWindow()) PostQuitMessage(0);
  rt::WindowObject::OnFinalMessage();
}

}  // namespace comp
