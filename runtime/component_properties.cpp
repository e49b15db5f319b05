#include "runtime/component_properties.h"

#include <cstring>
#include <string>
#include <vector>

#include "runtime/error_report.h"
#include "runtime/event_dispatch.h"
#include "runtime/handles.h"
#include "runtime/heap.h"
#include "runtime/pointer_cursor.h"
#include "runtime/program_image.h"
#include "runtime/runtime_state.h"
#include "runtime/values.h"
#include "runtime/window_loader.h"

namespace rt {
namespace {

constexpr const char* kDefaultFace = "宋体";

struct Target {
  WindowTemplate* window;
  ElementTemplate* element;
  const ComponentTypeInfo* type;
};

Target FindTarget(uint32_t windowId, uint32_t componentId) {
  WindowTemplate* window = FindWindowTemplate(windowId);
  if (!window || window->elements.empty() || !Live(window->elements[0].object))
    ReportRuntimeError("未载入欲访问窗口组件所在的窗口", 0);
  ElementTemplate* element = FindElement(*window, componentId);
  if (!element) ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
  return {window, element, ResolveComponentType(element->typeId)};
}

int16_t KindOf(const ComponentTypeInfo* type, int32_t property) {
  if (!type || !type->properties || property < 0 || static_cast<uint32_t>(property) >= type->propertyCount) return 0;
  return type->properties[property].kind;
}

template <typename Fn>
Fn Slot(const ComponentTypeInfo* type, int32_t slot) {
  return type && type->getInterface ? reinterpret_cast<Fn>(type->getInterface(slot)) : nullptr;
}

bool IsTextKind(int16_t kind) {
  switch (kind) {
    case KindInteger: case KindInteger2: case KindDouble: case KindLogical: case KindDateTime: case KindChoice:
    case KindPicture: case KindIcon: case KindCursor: case KindSound: case KindFont: case KindTextColor:
    case KindColor: case KindBackColor: case KindImageList: case KindCustomData:
      return false;
    default:
      return true;
  }
}

// Pointer data whose first word is mapped by `map` (when it holds at least 4 bytes).
std::vector<uint8_t> MapPointerData(const uint8_t* bytes, size_t n, int32_t (*map)(int32_t)) {
  std::vector<uint8_t> v(bytes, bytes + n);
  if (n >= 4) {
    int32_t first;
    std::memcpy(&first, v.data(), 4);
    first = map(first);
    std::memcpy(v.data(), &first, 4);
  }
  return v;
}

LOGFONTA FontOf(const PropertyData& data) {
  LOGFONTA lf;
  if (data.high == sizeof(LOGFONTA) && data.value) std::memcpy(&lf, PointerOf(data.value), sizeof lf);
  else lf = DefaultGuiFont();
  return lf;
}

void SetFace(LOGFONTA& lf, const char* face, bool keep31) {
  size_t n = face ? std::strlen(face) : 0;
  std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
  // Member writes keep names of 1 to 31 bytes; a whole font value keeps 0 to 30.
  bool keep = face && (keep31 ? (n >= 1 && n <= 31) : n < 31);
  std::strcpy(lf.lfFaceName, keep ? face : kDefaultFace);
}

uint32_t FontMember(const LOGFONTA& lf, int32_t member) {
  switch (member) {
    case 0: return static_cast<uint32_t>(lf.lfOrientation);
    case 1: return lf.lfWeight >= 700 ? 1 : 0;
    case 2: return lf.lfItalic ? 1 : 0;
    case 3: return lf.lfStrikeOut ? 1 : 0;
    case 4: return lf.lfUnderline ? 1 : 0;
    case 5: return static_cast<uint32_t>(FontHeightToPoints(lf.lfHeight));
    case 6: return Word(NewText(lf.lfFaceName));
    default: {
      auto* v = static_cast<FontValue*>(AllocMemory(sizeof(FontValue)));
      v->angle = lf.lfOrientation;
      v->bold = lf.lfWeight >= 700;
      v->italic = lf.lfItalic != 0;
      v->strikeOut = lf.lfStrikeOut != 0;
      v->underline = lf.lfUnderline != 0;
      v->points = FontHeightToPoints(lf.lfHeight);
      v->face = NewText(lf.lfFaceName);
      return Word(v);
    }
  }
}

void ApplyFontMember(LOGFONTA& lf, int32_t member, uint32_t value) {
  int32_t v = static_cast<int32_t>(value);
  switch (member) {
    case 0: {
      int32_t angle = v % 3600;
      if (angle < 0) angle += 3600;
      lf.lfEscapement = lf.lfOrientation = angle;
      break;
    }
    case 1: lf.lfWeight = v ? 700 : 0; break;
    case 2: lf.lfItalic = v ? 1 : 0; break;
    case 3: lf.lfStrikeOut = v ? 1 : 0; break;
    case 4: lf.lfUnderline = v ? 1 : 0; break;
    case 5: lf.lfHeight = PointsToFontHeight(v < 0 ? 0 : v); break;
    case 6: SetFace(lf, static_cast<const char*>(PointerOf(value)), true); break;
    default: break;
  }
}

LOGFONTA FontFromValue(const FontValue* v) {
  LOGFONTA lf = {};
  if (!v) return lf;
  lf.lfEscapement = lf.lfOrientation = v->angle;
  lf.lfWeight = v->bold ? 700 : 0;
  lf.lfItalic = v->italic ? 1 : 0;
  lf.lfStrikeOut = v->strikeOut ? 1 : 0;
  lf.lfUnderline = v->underline ? 1 : 0;
  lf.lfHeight = PointsToFontHeight(v->points < 0 ? 0 : v->points);
  if (v->face && v->face[0] == 0) std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
  else SetFace(lf, v->face, false);
  return lf;
}

RECT RectInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HWND parent = GetParent(hwnd);
  if (parent && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Builds a new object for the component from its current properties and puts it in
// the old one's place (same control id, rectangle, enabled state, z-order, visibility
// and focus).  Runs with events blocked.
void Recreate(uint32_t windowId, uint32_t componentId) {
  RuntimeState& rs = Runtime();
  WindowTemplate* window = FindWindowTemplate(windowId);
  ElementTemplate* e = window ? FindElement(*window, componentId) : nullptr;
  if (!e || !Live(e->object)) return;
  const ComponentTypeInfo* type = ResolveComponentType(e->typeId);
  if (!type || (type->flags & TypeIsForm)) return;
  auto getAll = Slot<GetAllPropertiesFn>(type, SlotGetAllProperties);
  auto create = Slot<CreateComponentFn>(type, SlotCreateComponent);
  if (!getAll || !create) return;
  WindowObject* old = e->object;
  GlobalBlock blob(getAll(old));
  GlobalLockGuard<const uint8_t> bytes(blob.get());
  if (!bytes) return;

  ++rs.eventBlockCount;
  HWND oldHwnd = old->hwnd();
  RECT r = RectInParent(oldHwnd);
  const bool disabled = !IsWindowEnabled(oldHwnd);
  const bool visible = (GetWindowLongA(oldHwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  HWND parent = GetParent(oldHwnd);
  const int32_t controlId = GetDlgCtrlID(oldHwnd);
  HWND focus = GetFocus();
  const bool hadFocus = focus == oldHwnd || IsChild(oldHwnd, focus);

  void* created = create(bytes.get(), static_cast<int32_t>(bytes.size()), disabled ? WS_DISABLED : 0, parent, controlId,
                         nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, windowId, componentId, nullptr, 0);
  if (created) {
    auto* fresh = static_cast<WindowObject*>(created);
    HWND h = fresh->hwnd();
    if (type->flags & TypeIsContainer) {
      std::vector<HWND> children;
      for (HWND c = GetWindow(oldHwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
      for (auto it = children.rbegin(); it != children.rend(); ++it) SetParent(*it, h);
    }
    e->object = fresh;
    SetWindowPos(h, oldHwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(h, kMsgComponentsCreated, 0, 0);
    SendMessageA(h, kMsgCreationEventsDone, 0, 0);
    if ((type->flags & TypeNotifiesParent) && parent) SendMessageA(parent, kMsgComponentsPlaced, 0, 0);
    if (visible) ShowWindow(h, SW_SHOWNA);
    // The old object deletes itself when its window goes; its destruction notice must
    // leave the record (now holding the new object) alone.
    rs.recreating = true;
    DestroyWindow(oldHwnd);
    rs.recreating = false;
    if (hadFocus) SetFocus(h);
    else if (focus && ::IsWindow(focus) && GetFocus() != focus) SetFocus(focus);
  }
  --rs.eventBlockCount;
}

void SetTypeProperty(const Target& t, uint32_t windowId, uint32_t componentId, int32_t property, int32_t member,
                     uint32_t value, uint32_t high) {
  if (!Live(t.element->object)) ReportRuntimeError("指定窗口尚未载入", 0);
  const int16_t kind = KindOf(t.type, property);
  PropertyData data = {value, 0};
  std::vector<uint8_t> mapped;
  LOGFONTA font;
  switch (kind) {
    case KindDouble: case KindDateTime: data.high = high; break;
    case KindLogical: data.value = value != 0; break;
    case KindChoice: data.value = static_cast<int32_t>(value) < 0 ? 0 : value; break;
    case KindInteger: case KindInteger2: case KindTextColor: case KindColor: case KindBackColor: break;
    case KindPicture: case KindIcon: case KindCursor: case KindSound: case KindImageList: case KindCustomData: {
      const void* set = PointerOf(value);
      const int32_t n = ByteSetLength(set);
      if (!set || n <= 0) {
        data = {0, 0};
      } else if (kind == KindCursor && n >= 4) {
        mapped = MapPointerData(ByteSetBytes(set), static_cast<size_t>(n), PointerIndexToCursorId);
        data = {Word(mapped.data()), static_cast<uint32_t>(n)};
      } else {
        data = {Word(ByteSetBytes(set)), static_cast<uint32_t>(n)};
      }
      break;
    }
    case KindFont: {
      if (member == -1) {
        font = FontFromValue(static_cast<const FontValue*>(PointerOf(value)));
      } else {
        PropertyData current = {0, 0};
        auto get = Slot<GetPropertyFn>(t.type, SlotGetProperty);
        if (!get || !get(t.element->object, property - 8, &current)) current = {0, 0};
        font = FontOf(current);
        ApplyFontMember(font, member, value);
      }
      data = {Word(&font), sizeof font};
      break;
    }
    default:
      if (IsTextKind(kind) && !value) data.value = Word("");
      break;
  }
  auto changed = Slot<PropertyChangedFn>(t.type, SlotPropertyChanged);
  if (!changed) return;
  if (changed(t.element->object, property - 8, &data, nullptr) == 1) Recreate(windowId, componentId);
}

}  // namespace

int32_t ClampPosition(int32_t v) { return v < -kMaxCoordinate ? -kMaxCoordinate : (v > kMaxCoordinate ? kMaxCoordinate : v); }
int32_t ClampSize(int32_t v) { return v < 0 ? 0 : (v > kMaxCoordinate ? kMaxCoordinate : v); }

LOGFONTA DefaultGuiFont() {
  LOGFONTA lf = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  return lf;
}

static int32_t ScreenDpiY() {
  int32_t dpi = GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

int32_t FontHeightToPoints(LONG height) {
  if (height < 0) height = -height;
  return MulDiv(height, 72, ScreenDpiY());
}

LONG PointsToFontHeight(int32_t points) { return points <= 0 ? 0 : -MulDiv(points, ScreenDpiY(), 72); }

uint32_t GetComponentProperty(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member) {
  return static_cast<uint32_t>(GetComponentPropertyValue(windowId, componentId, property, member));
}

uint64_t GetComponentPropertyValue(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member) {
  Target t = FindTarget(windowId, componentId);
  if (t.element->IsMenuItem()) {
    const MenuServices& menu = GetMenuServices();
    return menu.getItemProperty ? menu.getItemProperty(*t.window, *t.element, property) : 0;
  }
  if (property >= 8) {
    if (!Live(t.element->object)) ReportRuntimeError("指定窗口尚未载入", 0);
    PropertyData data = {0, 0};
    auto get = Slot<GetPropertyFn>(t.type, SlotGetProperty);
    if (!get || !get(t.element->object, property - 8, &data)) data = {0, 0};
    switch (const int16_t kind = KindOf(t.type, property)) {
      case KindInteger: case KindInteger2: case KindChoice: case KindTextColor: case KindColor: case KindBackColor:
        return data.value;
      case KindDouble: case KindDateTime:
        return (uint64_t(data.high) << 32) | data.value;
      case KindLogical:
        return data.value == 1 ? 1 : 0;
      case KindPicture: case KindIcon: case KindSound: case KindImageList: case KindCustomData:
        return Word(NewByteSet(PointerOf(data.value), data.value ? data.high : 0));
      case KindCursor: {
        if (!data.value || data.high == 0) return 0;
        auto v = MapPointerData(static_cast<const uint8_t*>(PointerOf(data.value)), data.high, CursorIdToPointerIndex);
        return Word(NewByteSet(v.data(), v.size()));
      }
      case KindFont:
        return FontMember(FontOf(data), member);
      default:
        (void)kind;
        return Word(NewText(static_cast<const char*>(PointerOf(data.value))));
    }
  }
  const ElementTemplate& e = *t.element;
  HWND h = Live(e.object) ? e.object->hwnd() : nullptr;
  switch (property) {
    case PropTag:
      return Word(NewText(e.tag.c_str()));
    case PropMousePointer: {
      auto v = MapPointerData(e.mousePointer.data(), e.mousePointer.size(), CursorIdToPointerIndex);
      return Word(NewByteSet(v.data(), v.size()));
    }
    case PropLeft: case PropTop: case PropWidth: case PropHeight: {
      if (!h) {
        const int32_t stored[] = {e.left, e.top, e.width, e.height};
        return static_cast<uint32_t>(stored[property]);
      }
      RECT r = RectInParent(h);
      const LONG values[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      return static_cast<uint32_t>(values[property]);
    }
    case PropVisible:
      return h ? ((GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) ? 1 : 0) : ((e.stateFlags & StateVisible) ? 1 : 0);
    case PropDisabled:
      return h ? (IsWindowEnabled(h) ? 0 : 1) : ((e.stateFlags & StateDisabled) ? 1 : 0);
    default:
      return 0;
  }
}

void SetComponentProperty(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member,
                          uint32_t value, uint32_t high) {
  Target t = FindTarget(windowId, componentId);
  if (t.element->IsMenuItem()) {
    const MenuServices& menu = GetMenuServices();
    if (menu.setItemProperty) menu.setItemProperty(*t.window, *t.element, property, value);
    return;
  }
  if (property >= 8) {
    SetTypeProperty(t, windowId, componentId, property, member, value, high);
    return;
  }
  ElementTemplate& e = *t.element;
  HWND h = Live(e.object) ? e.object->hwnd() : nullptr;
  const int32_t v = static_cast<int32_t>(value);
  switch (property) {
    case PropWidth: case PropHeight: {
      (property == PropWidth ? e.width : e.height) = ClampSize(v);
      if (h) {
        RECT r = RectInParent(h);
        int32_t w = property == PropWidth ? e.width : r.right - r.left;
        int32_t ht = property == PropHeight ? e.height : r.bottom - r.top;
        SetWindowPos(h, nullptr, 0, 0, w, ht, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case PropLeft: case PropTop: {
      (property == PropLeft ? e.left : e.top) = ClampPosition(v);
      if (h) {
        RECT r = RectInParent(h);
        int32_t x = property == PropLeft ? e.left : r.left;
        int32_t y = property == PropTop ? e.top : r.top;
        SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case PropTag: {
      const char* text = static_cast<const char*>(PointerOf(value));
      e.tag = text ? text : "";
      break;
    }
    case PropVisible: {
      if (value) e.stateFlags |= StateVisible;
      else e.stateFlags &= ~StateVisible;
      if (!h) break;
      if (!value) {
        ShowWindow(h, SW_HIDE);
      } else if (e.IsWindow()) {
        if (FormWindow* form = dynamic_cast<FormWindow*>(e.object)) form->ShowAfterLoad();
        else ShowWindow(h, SW_SHOW);
      } else if (!t.type || !(t.type->flags & TypeHiddenAtRunTime)) {
        // A child of a tab control that sits on a page other than the current one stays
        // hidden; the runtime keeps no current page for a tab control, so every page
        // counts as current.
        ShowWindow(h, SW_SHOW);
      }
      break;
    }
    case PropDisabled:
      if (value) e.stateFlags |= StateDisabled;
      else e.stateFlags &= ~StateDisabled;
      if (h) EnableWindow(h, value ? FALSE : TRUE);
      break;
    case PropMousePointer: {
      const void* set = PointerOf(value);
      const int32_t n = ByteSetLength(set);
      std::vector<uint8_t> data;
      if (set && n > 0) data = MapPointerData(ByteSetBytes(set), static_cast<size_t>(n), PointerIndexToCursorId);
      DestroyPointerCursor(e.cursor);
      e.cursor = data.empty() ? nullptr : CreatePointerCursor(data);
      e.mousePointer = std::move(data);
      if (h) {
        POINT p;
        GetCursorPos(&p);
        SetCursorPos(p.x, p.y);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace rt
