#include "components/window_component.h"

#include <cstdlib>
#include <cstring>

#include "components/convert_texts.h"
#include "components/kernel_library.h"
#include "runtime/byte_reader.h"
#include "runtime/runtime_state.h"

namespace comp {
namespace {

constexpr const char* kDefaultClass = "WTWindow";
constexpr uint32_t kCaptionBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

inline void* Ptr(uint32_t v) { return reinterpret_cast<void*>(static_cast<uintptr_t>(v)); }
inline uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// The image of an icon file closest to cx x cy, as an icon; null when the data is not
// an icon file.
HICON IconFromFileData(const std::vector<uint8_t>& data, int cx, int cy) {
  rt::ByteReader r(data.data(), data.size());
  if (r.u16() != 0 || r.u16() != 1) return nullptr;
  const uint16_t count = r.u16();
  int best = -1;
  uint32_t bestOffset = 0, bestLength = 0;
  for (uint16_t i = 0; i < count && r.ok(); ++i) {
    int w = r.u8();
    int h = r.u8();
    r.skip(6);
    uint32_t length = r.u32();
    uint32_t offset = r.u32();
    if (!r.ok() || offset > data.size() || length > data.size() - offset) return nullptr;
    if (w == 0) w = 256;
    if (h == 0) h = 256;
    int distance = std::abs(w - cx) + std::abs(h - cy);
    if (best < 0 || distance < best) {
      best = distance;
      bestOffset = offset;
      bestLength = length;
    }
  }
  if (best < 0 || bestLength == 0) return nullptr;
  return CreateIconFromResourceEx(const_cast<uint8_t*>(data.data() + bestOffset), bestLength, TRUE, 0x00030000, cx,
                                  cy, LR_DEFAULTCOLOR);
}

void DefaultIcons(HICON* big, HICON* small) {
  rt::RuntimeState& rs = rt::Runtime();
  if (!rs.defaultBigIcon) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    rs.defaultBigIcon = static_cast<HICON>(LoadImageA(self, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), 0));
    rs.defaultSmallIcon = static_cast<HICON>(LoadImageA(self, "DEFAULT_ICON", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  }
  // Without an icon resource of its own the program shows the system's application icon
  // (a shared icon, never destroyed).
  *big = rs.defaultBigIcon ? rs.defaultBigIcon : LoadIconA(nullptr, IDI_APPLICATION);
  *small = rs.defaultSmallIcon ? rs.defaultSmallIcon : *big;
}

// Property table: the eight common properties, then the window's own 24.
constexpr uint16_t kCommon = 0xE000;
#define WP(kind, flags) {nullptr, nullptr, nullptr, rt::kind, flags, nullptr}
const rt::PropertyInfo kWindowProperties[32] = {
    WP(KindInteger, kCommon),  WP(KindInteger, kCommon), WP(KindInteger, kCommon), WP(KindInteger, kCommon),
    WP(KindText, kCommon),     WP(KindLogical, kCommon), WP(KindLogical, kCommon), WP(KindCursor, kCommon),
    WP(KindText, 0x8000),      // 8 caption
    WP(KindChoice, 0x8000),    // 9 border style
    WP(KindBackColor, 0x8000), // 10 background colour
    WP(KindPicture, 0x8000),   // 11 background picture
    WP(KindChoice, 0x8000),    // 12 picture layout
    WP(KindSound, 0x8000),     // 13 background sound
    WP(KindChoice, 0x8000),    // 14 sound play mode
    WP(KindLogical, 0x8000),   // 15 control box
    WP(KindLogical, 0x8000),   // 16 maximise button
    WP(KindLogical, 0x8000),   // 17 minimise button
    WP(KindChoice, 0x8000),    // 18 start position
    WP(KindLogical, 0x8000),   // 19 movable
    WP(KindIcon, 0x8000),      // 20 icon
    WP(KindLogical, 0x8000),   // 21 Enter moves the focus
    WP(KindLogical, 0x8000),   // 22 Escape closes
    WP(KindLogical, 0x8000),   // 23 F1 opens help
    WP(KindFileName, 0x8000),  // 24 help file
    WP(KindInteger, 0x8000),   // 25 help context
    WP(KindLogical, 0x8000),   // 26 shown in the task bar
    WP(KindLogical, 0x8000),   // 27 drag by the client area
    WP(KindChoice, 0x8000),    // 28 shape
    WP(KindLogical, 0x8000),   // 29 always on top
    WP(KindLogical, 0x8000),   // 30 caption always drawn active
    WP(KindText, 0x8000),      // 31 window class
};
#undef WP

void* __stdcall CreateWindowComponent(const uint8_t* blob, int32_t size, uint32_t style, HWND owner, int32_t,
                                      HMENU menu, int32_t left, int32_t top, int32_t width, int32_t height,
                                      uint32_t windowId, uint32_t elementId, HWND, int32_t) {
  auto* w = new WindowComponent(windowId, elementId, rt::LoadingModalWindow());
  if (!w->Create(blob, size, style, owner, menu, left, top, width, height)) {
    delete w;
    return nullptr;
  }
  return static_cast<rt::WindowObject*>(w);
}

WindowComponent* AsWindow(void* object) {
  return dynamic_cast<WindowComponent*>(static_cast<rt::WindowObject*>(object));
}

int32_t __stdcall WindowPropertyChanged(void* object, int32_t index, rt::PropertyData* data, const char**) {
  WindowComponent* w = AsWindow(object);
  return w && data ? w->ApplyProperty(index, *data) : 0;
}

HGLOBAL __stdcall WindowGetAllProperties(void* object) {
  WindowComponent* w = AsWindow(object);
  if (!w) return nullptr;
  std::vector<uint8_t> blob = w->properties().Write();
  return BlobToGlobal(blob.data(), blob.size());
}

int32_t __stdcall WindowGetProperty(void* object, int32_t index, rt::PropertyData* data) {
  WindowComponent* w = AsWindow(object);
  return w && data && w->ReadProperty(index, data) ? 1 : 0;
}

// Slot 9: the caption, then the help file, each offered to the visitor.
HGLOBAL __stdcall WindowConvertTexts(const uint8_t* blob, int32_t size, rt::TextVisitorFn visitor, void* userData) {
  return ConvertBlobTexts<WindowProperties>(blob, size, [visitor, userData](WindowProperties& p) {
    VisitTexts(visitor, userData, nullptr, {{&p.caption, 0}, {&p.helpFile, 0}});
  });
}

void* __stdcall WindowGetInterface(int32_t slot) {
  switch (slot) {
    case rt::SlotCreateComponent: return reinterpret_cast<void*>(&CreateWindowComponent);
    case rt::SlotPropertyChanged: return reinterpret_cast<void*>(&WindowPropertyChanged);
    case rt::SlotGetAllProperties: return reinterpret_cast<void*>(&WindowGetAllProperties);
    case rt::SlotGetProperty: return reinterpret_cast<void*>(&WindowGetProperty);
    case rt::SlotConvertTexts: return reinterpret_cast<void*>(&WindowConvertTexts);
    default: return nullptr;
  }
}

}  // namespace

const rt::ComponentTypeInfo kWindowType = {
    "窗口", "window", nullptr, 0, nullptr, 0x800000D0, 0, 0, nullptr, 32, kWindowProperties, &WindowGetInterface, 0,
    nullptr,
};

rt::WindowTemplate* WindowTemplateOf(uint32_t windowId) {
  auto* table = static_cast<rt::WindowTable*>(Ptr(static_cast<uint32_t>(KernelLink().Call(rt::SvcWindowTable))));
  if (!table) return nullptr;
  auto it = table->find(windowId);
  return it == table->end() ? nullptr : &it->second;
}

WindowComponent::WindowComponent(uint32_t windowId, uint32_t elementId, bool modal)
    : Component(KernelLink(), windowId, elementId), modal_(modal) {}

WindowComponent::~WindowComponent() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  rt::RuntimeState& rs = rt::Runtime();
  if (bigIcon_ && bigIcon_ != rs.defaultBigIcon) DestroyIcon(bigIcon_);
  if (smallIcon_ && smallIcon_ != rs.defaultSmallIcon && smallIcon_ != bigIcon_) DestroyIcon(smallIcon_);
}

uint32_t WindowComponent::ComputeStyle(uint32_t style) const {
  style &= ~(kCaptionBits | WS_DLGFRAME | WS_THICKFRAME);
  if (props_.border != BorderNone) {
    if (!props_.caption.empty() || props_.controlBox) {
      style |= WS_CAPTION;
      if (props_.controlBox) style |= WS_SYSMENU;
    }
    style |= WS_DLGFRAME;
  }
  switch (props_.border) {
    case BorderResizable: case BorderResizableTool: case BorderResizableSunken: style |= WS_THICKFRAME; break;
    default: break;
  }
  if (props_.border != BorderNone) {
    if (props_.maxButton) style |= WS_MAXIMIZEBOX;
    if (props_.minButton) style |= WS_MINIMIZEBOX;
  }
  return style;
}

uint32_t WindowComponent::ComputeExStyle() const {
  switch (props_.border) {
    case BorderResizableTool: case BorderFixedTool: return WS_EX_TOOLWINDOW;
    case BorderResizableSunken: case BorderFixedSunken: return WS_EX_CLIENTEDGE;
    default: return 0;
  }
}

bool WindowComponent::Create(const uint8_t* blob, int32_t size, uint32_t style, HWND owner, HMENU menu, int32_t left,
                             int32_t top, int32_t width, int32_t height) {
  if (size < 0 || !props_.Read(blob, static_cast<size_t>(size))) return false;
  style = ComputeStyle(style | WS_CLIPCHILDREN);
  if (props_.startPosition == StartCentred) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  } else if (props_.startPosition == StartMinimised) {
    style |= WS_MINIMIZE;
  } else if (props_.startPosition == StartMaximised && (style & WS_THICKFRAME)) {
    style |= WS_MAXIMIZE;
  }
  if (owner) style |= WS_POPUP;
  const rt::RuntimeState& rs = rt::Runtime();
  if (!owner && (modal_ || !props_.showInTaskbar) && rs.programKind != 0) owner = rs.messageWindow;

  const char* className = props_.className.empty() ? kDefaultClass : props_.className.c_str();
  if (!RegisterObjectClass(className, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                           static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)))) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  DecodeBackground();
  HWND h = CreateObjectWindow(ComputeExStyle(), className, props_.caption.c_str(), style, left, top, width, height,
                              owner, menu);
  if (!h) {
    if (menu) DestroyMenu(menu);
    return false;
  }
  ReapplyCaptionStyles({width, height});  // the size of the window's record
  ApplyIcons();
  ApplyShape();
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (props_.alwaysOnTop) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!props_.movable) RemoveMenu(GetSystemMenu(h, FALSE), SC_MOVE, MF_BYCOMMAND);
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

void WindowComponent::ApplyIcons() {
  HICON big = nullptr, small = nullptr;
  if (!props_.icon.empty()) {
    big = IconFromFileData(props_.icon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    small = IconFromFileData(props_.icon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  }
  HICON oldBig = bigIcon_, oldSmall = smallIcon_;
  if (big && small) {
    bigIcon_ = big;
    smallIcon_ = small;
  } else {
    if (big) DestroyIcon(big);
    if (small) DestroyIcon(small);
    DefaultIcons(&bigIcon_, &smallIcon_);
  }
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  const rt::RuntimeState& rs = rt::Runtime();
  if (oldBig && oldBig != bigIcon_ && oldBig != rs.defaultBigIcon) DestroyIcon(oldBig);
  if (oldSmall && oldSmall != smallIcon_ && oldSmall != oldBig && oldSmall != rs.defaultSmallIcon) DestroyIcon(oldSmall);
}

void WindowComponent::ApplyShape() {
  HWND h = hwnd();
  RECT r;
  GetWindowRect(h, &r);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  HRGN region = nullptr;
  switch (props_.shape) {
    case 1: region = CreateEllipticRgn(0, 0, w, ht); break;
    case 2: {
      const int corner = (w < ht ? w : ht) / 5;
      region = CreateRoundRectRgn(0, 0, w, ht, corner, corner);
      break;
    }
    case 3: {
      region = CreateEllipticRgn(0, 0, w, ht);
      HRGN inner = CreateEllipticRgn(w / 4, ht / 4, w - w / 4, ht - ht / 4);
      CombineRgn(region, region, inner, RGN_DIFF);
      DeleteObject(inner);
      break;
    }
    default:  // 0 rectangle; outline shapes (4 and up) leave the region as it is
      if (props_.shape == 0) SetWindowRgn(h, nullptr, TRUE);
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

int32_t WindowComponent::ApplyProperty(int32_t index, const rt::PropertyData& data) {
  HWND h = hwnd();
  const char* text = static_cast<const char*>(Ptr(data.value));
  const auto bytes = [&data]() {
    const uint8_t* p = static_cast<const uint8_t*>(Ptr(data.value));
    return p ? std::vector<uint8_t>(p, p + data.high) : std::vector<uint8_t>();
  };
  const bool flag = data.value != 0;
  const int32_t value = static_cast<int32_t>(data.value);
  // Style changes keep the size the window has now: a written width or height (already
  // applied to the window and its record) or one the user chose.
  const SIZE size = WindowSize();
  switch (index + 8) {
    case 8:
      props_.caption = text ? text : "";
      SetWindowTextA(h, props_.caption.c_str());
      ReapplyCaptionStyles(size);
      break;
    case 9: {
      props_.border = value;
      LONG ex = GetWindowLongA(h, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
      SetWindowLongA(h, GWL_EXSTYLE, ex | static_cast<LONG>(ComputeExStyle()));
      LONG style = GetWindowLongA(h, GWL_STYLE) & ~(WS_DLGFRAME | WS_THICKFRAME);
      SetWindowLongA(h, GWL_STYLE, style | static_cast<LONG>(ComputeStyle(0) & (WS_DLGFRAME | WS_THICKFRAME)));
      SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ReapplyCaptionStyles(size);
      break;
    }
    case 10: props_.backColour = data.value; InvalidateRect(h, nullptr, TRUE); break;
    case 11: props_.picture = bytes(); DecodeBackground(); InvalidateRect(h, nullptr, TRUE); break;
    case 12:
      props_.pictureLayout = value;
      if (!props_.picture.empty()) InvalidateRect(h, nullptr, TRUE);
      break;
    case 13: props_.sound = bytes(); break;
    case 14: props_.soundMode = value; break;
    case 15: props_.controlBox = flag; ReapplyCaptionStyles(size); break;
    case 16: props_.maxButton = flag; ReapplyCaptionStyles(size); break;
    case 17: props_.minButton = flag; ReapplyCaptionStyles(size); break;
    case 18:
      props_.startPosition = value;
      if (value == StartCentred) CentreOnScreen();
      else if (value == StartMaximised) ShowWindow(h, SW_MAXIMIZE);
      break;
    case 19:
      props_.movable = flag;
      GetSystemMenu(h, TRUE);
      if (!flag) RemoveMenu(GetSystemMenu(h, FALSE), SC_MOVE, MF_BYCOMMAND);
      break;
    case 20: props_.icon = bytes(); ApplyIcons(); break;
    case 21: props_.enterMovesFocus = flag; break;
    case 22: props_.escapeCloses = flag; break;
    case 23: props_.f1Help = flag; break;
    case 24: props_.helpFile = text ? text : ""; break;
    case 25: props_.helpContext = value; break;
    case 26: props_.showInTaskbar = flag; break;
    case 27: props_.dragByClient = flag; break;
    case 28: props_.shape = value; ApplyShape(); break;
    case 29:
      props_.alwaysOnTop = flag;
      SetWindowPos(h, flag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case 30: props_.captionAlwaysActive = flag; break;
    case 31: props_.className = text ? text : ""; break;
    default: break;
  }
  return 0;
}

bool WindowComponent::ReadProperty(int32_t index, rt::PropertyData* data) {
  const auto text = [data](const std::string& s) { *data = {Word(s.c_str()), 0}; };
  const auto bytes = [data](const std::vector<uint8_t>& v) {
    *data = {v.empty() ? 0 : Word(v.data()), static_cast<uint32_t>(v.size())};
  };
  const auto number = [data](uint32_t v) { *data = {v, 0}; };
  switch (index + 8) {
    case 8: text(props_.caption); break;
    case 9: number(props_.border); break;
    case 10: number(props_.backColour); break;
    case 11: bytes(props_.picture); break;
    case 12: number(props_.pictureLayout); break;
    case 13: bytes(props_.sound); break;
    case 14: number(props_.soundMode); break;
    case 15: number(props_.controlBox); break;
    case 16: number(props_.maxButton); break;
    case 17: number(props_.minButton); break;
    case 18: number(IsIconic(hwnd()) ? StartMinimised : (IsZoomed(hwnd()) ? StartMaximised : StartAsStored)); break;
    case 19: number(props_.movable); break;
    case 20: bytes(props_.icon); break;
    case 21: number(props_.enterMovesFocus); break;
    case 22: number(props_.escapeCloses); break;
    case 23: number(props_.f1Help); break;
    case 24: text(props_.helpFile); break;
    case 25: number(props_.helpContext); break;
    case 26: number(props_.showInTaskbar); break;
    case 27: number(props_.dragByClient); break;
    case 28: number(props_.shape); break;
    case 29: number(props_.alwaysOnTop); break;
    case 30: number(props_.captionAlwaysActive); break;
    case 31: text(props_.className); break;
    default: return false;
  }
  return true;
}

void WindowComponent::SetAcceleratorTable(HACCEL table) {
  if (accelerators_ && accelerators_ != table) DestroyAcceleratorTable(accelerators_);
  accelerators_ = table;
}

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
    if (props_.startPosition == StartMaximised) show = SW_SHOWMAXIMIZED;
    else if (props_.startPosition == StartMinimised) show = SW_SHOWMINIMIZED;
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
        rt::EventRecord record = {};
        record.windowId = windowId();
        record.elementId = e.IsWindow() ? 0 : e.id;
        record.eventIndex = rt::EventGotFocus;
        link().Call(rt::SvcFireEvent, rt::LibraryLink::Word(&record), 0);
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
