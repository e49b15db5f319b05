// Turning a window template into live objects, and the window layer's share of the
// RuntimeService codes.
#include "runtime/window_loader.h"

#include <map>

#include "runtime/error_report.h"
#include "runtime/event_dispatch.h"
#include "runtime/handles.h"
#include "runtime/message_loop.h"
#include "runtime/pointer_cursor.h"
#include "runtime/runtime_service.h"
#include "runtime/runtime_state.h"
#include "runtime/values.h"

namespace rt {
namespace {

bool g_loadingModal = false;
MenuServices g_menu = {};

struct Created {
  size_t index;  // element index
  WindowObject* object;
  bool visible;
};

void FireWindowEvent(uint32_t windowId, int32_t eventIndex) {
  EventRecord record = {};
  record.windowId = windowId;
  record.eventIndex = eventIndex;
  FireEvent(&record);
}

// Runs the nested loop of a modal window until it is destroyed (code 2000 clears the
// current modal window id).
void RunModalLoop(uint32_t windowId) {
  RuntimeState& rs = Runtime();
  uint32_t saved = rs.modalWindowId;
  rs.modalWindowId = windowId;
  RunLoop(true);
  rs.modalWindowId = saved;
}

struct OwnedObject {
  size_t index;  // element index
  WindowObject* object;
  HWND hwnd;  // its window when listed
};

// Ends the objects of one window (the window's own object last in the list) the way a
// close does: destroying the platform window runs the window's destroy handling (extra
// resources of its components, help, menu) while its components still live, and every
// object that goes with its window deletes itself and clears its slot.  Objects left
// over (no window of their own, or one the destruction did not reach) are deleted here.
void EndObjects(uint32_t windowId, const std::vector<OwnedObject>& objects) {
  for (const OwnedObject& o : objects)
    if (o.index == 0 && o.hwnd && ::IsWindow(o.hwnd)) DestroyWindow(o.hwnd);
  for (const OwnedObject& o : objects) {
    if (o.hwnd && WindowObject::FromHandle(o.hwnd) != o.object) continue;  // gone with its window
    WindowTemplate* w = FindWindowTemplate(windowId);
    if (w && o.index < w->elements.size() && w->elements[o.index].object == o.object)
      w->elements[o.index].object = nullptr;
    if (o.index == 0)
      if (FormWindow* form = dynamic_cast<FormWindow*>(o.object)) form->SetAcceleratorTable(nullptr);
    delete o.object;
  }
}

// Ends every object created by a failed load.
void DiscardCreated(WindowTemplate& window, std::vector<Created>& created) {
  std::vector<OwnedObject> objects;
  for (auto it = created.rbegin(); it != created.rend(); ++it)
    objects.push_back({it->index, it->object, it->object->hwnd()});
  created.clear();
  EndObjects(window.id, objects);
}

}  // namespace

bool LoadingModalWindow() { return g_loadingModal; }
void SetMenuServices(const MenuServices& services) { g_menu = services; }
const MenuServices& GetMenuServices() { return g_menu; }

bool LoadWindow(uint32_t windowId, HWND owner, bool modal) {
  WindowTemplate* window = FindWindowTemplate(windowId);
  if (!window || window->elements.empty()) return false;
  if (WindowObject* open = window->elements[0].object; Live(open)) {
    if (IsIconic(open->hwnd())) ShowWindow(open->hwnd(), SW_RESTORE);
    else SetActiveWindow(open->hwnd());
    return true;
  }
  if (modal) owner = nullptr;
  else if (owner && !::IsWindow(owner)) return false;

  RuntimeService(SvcBeginLoad, 0, 0);
  window->snapshot = window->elements;
  window->hasSnapshot = true;
  HACCEL acceleratorTable = nullptr;
  // The menu bar is the frame's once the frame is created with it.
  MenuHandle menu(g_menu.buildMenuBar ? g_menu.buildMenuBar(*window, &acceleratorTable) : nullptr);
  AcceleratorHandle accelerators(acceleratorTable);
  std::vector<Created> created;

  auto fail = [&]() {
    DiscardCreated(*window, created);
    if (WindowTemplate* w = FindWindowTemplate(windowId)) {
      w->snapshot.clear();
      w->hasSnapshot = false;
    }
    // The load raised the block count; a failed load must lower it again.
    RuntimeService(SvcEndLoad, 0, 0);
    return false;
  };

  // The window first, then the components from the last element to element 1.
  HWND frame = nullptr;
  int32_t controlId = 100;
  std::vector<size_t> order = {0};
  for (size_t i = window->elements.size(); i-- > 1;)
    if (!window->elements[i].IsMenuItem()) order.push_back(i);
  for (size_t index : order) {
    ElementTemplate& e = window->elements[index];
    const ComponentTypeInfo* type = ResolveComponentType(e.typeId);
    auto create = type && type->getInterface
                      ? reinterpret_cast<CreateComponentFn>(type->getInterface(SlotCreateComponent))
                      : nullptr;
    if (!create) return fail();
    const bool hidden = (type->flags & TypeHiddenAtRunTime) != 0;
    uint32_t style = 0;
    if (!hidden) {
      if (e.stateFlags & StateDisabled) style |= WS_DISABLED;
      if (e.stateFlags & StateTabStop) style |= WS_TABSTOP;
    }
    void* object;
    if (index == 0) {
      g_loadingModal = modal;
      object = create(e.properties.data(), static_cast<int32_t>(e.properties.size()), style, owner, 0, menu.get(),
                      e.left, e.top, e.width, e.height, windowId, e.id, nullptr, 0);
      g_loadingModal = false;
      if (!object) return fail();
      menu.release();
    } else {
      object = create(e.properties.data(), static_cast<int32_t>(e.properties.size()), style, frame, controlId,
                      nullptr, e.left, e.top, e.width, e.height, windowId, e.id, nullptr, 0);
      if (!object) return fail();
      controlId += 10;
    }
    auto* wo = static_cast<WindowObject*>(object);
    e.object = wo;
    created.push_back({index, wo, !hidden && (e.stateFlags & StateVisible) != 0});
    if (index == 0) frame = wo->hwnd();
  }
  std::map<size_t, Created*> byIndex;
  for (Created& c : created) byIndex[c.index] = &c;
  auto& elements = window->elements;

  // Parents; children on the later pages of a tab control start hidden.
  for (size_t i = 1; i < elements.size(); ++i) {
    if (!byIndex.count(i)) continue;
    const ElementTemplate& e = elements[i];
    HWND parent = frame;
    if (e.parentId != 0) {
      ElementTemplate* p = FindElement(*window, e.parentId);
      if (p && p->object) {
        parent = p->object->hwnd();
        const ComponentTypeInfo* pt = ResolveComponentType(p->typeId);
        if (pt && (pt->flags & TypeIsTabControl)) {
          bool laterPage = false;
          for (uint32_t child : p->children) {
            if (child == 0) laterPage = true;
            else if (child == e.id && laterPage) byIndex[i]->visible = false;
          }
        }
      }
    }
    if (GetParent(e.object->hwnd()) != parent) SetParent(e.object->hwnd(), parent);
  }

  // Stacking order: after the nearest earlier sibling, else at the top.
  for (size_t i = 1; i < elements.size(); ++i) {
    if (!byIndex.count(i)) continue;
    HWND after = HWND_TOP;
    for (size_t j = i; j-- > 1;) {
      if (byIndex.count(j) && elements[j].parentId == elements[i].parentId) {
        after = elements[j].object->hwnd();
        break;
      }
    }
    SetWindowPos(elements[i].object->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  for (Created& c : created)
    if (c.index != 0) elements[c.index].cursor = CreatePointerCursor(elements[c.index].mousePointer);

  // Last element first, by element index (not by the order the objects were created in).
  for (auto it = byIndex.rbegin(); it != byIndex.rend(); ++it)
    if (it->first != 0) SendMessageA(it->second->object->hwnd(), kMsgComponentsCreated, 0, 0);
  SendMessageA(frame, kMsgComponentsPlaced, 0, 0);

  for (Created& c : created)
    if (c.index != 0) ShowWindow(c.object->hwnd(), c.visible ? SW_SHOWNA : SW_HIDE);

  FormWindow* form = dynamic_cast<FormWindow*>(created[0].object);
  if (form) form->SetAcceleratorTable(accelerators.release());
  else accelerators.reset();
  const bool windowVisible = created[0].visible;
  std::vector<std::pair<size_t, WindowObject*>> components;  // in element order
  for (const auto& entry : byIndex)
    if (entry.first != 0) components.emplace_back(entry.first, entry.second->object);
  created.clear();

  RuntimeService(SvcEndLoad, 0, 0);
  for (int32_t event : {0, 3, 4}) {
    if (!::IsWindow(frame)) break;
    FireWindowEvent(windowId, event);
  }
  if (!::IsWindow(frame)) return true;  // closed by its own creation events
  if (windowVisible && form) form->ShowAfterLoad();
  if (modal && ::IsWindow(frame)) {
    std::vector<std::pair<HWND, bool>> disabled;
    for (auto& entry : Runtime().windows) {
      if (entry.first == windowId || entry.second.elements.empty()) continue;
      WindowObject* other = entry.second.elements[0].object;
      if (!Live(other) || (GetWindowLongA(other->hwnd(), GWL_STYLE) & WS_CHILD)) continue;
      disabled.emplace_back(other->hwnd(), IsWindowEnabled(other->hwnd()) != FALSE);
      EnableWindow(other->hwnd(), FALSE);
    }
    if (form) form->SetDisabledWindows(std::move(disabled));
  }
  HWND focus = GetFocus();
  for (auto it = components.rbegin(); it != components.rend(); ++it) {
    WindowTemplate* w = FindWindowTemplate(windowId);
    if (!w || it->first >= w->elements.size() || w->elements[it->first].object != it->second) continue;
    if (::IsWindow(it->second->hwnd())) SendMessageA(it->second->hwnd(), kMsgCreationEventsDone, 0, 0);
  }
  if (GetFocus() != focus && focus && ::IsWindow(focus)) SetFocus(focus);
  if (::IsWindow(frame) && form) form->MarkLoaded();
  return true;
}

void UnloadAllWindows() {
  RuntimeState& rs = Runtime();
  for (auto& entry : rs.windows) {
    std::vector<OwnedObject> objects;  // components last to first, then the window
    for (size_t i = entry.second.elements.size(); i-- > 0;)
      if (WindowObject* object = entry.second.elements[i].object) objects.push_back({i, object, object->hwnd()});
    EndObjects(entry.first, objects);
    for (ElementTemplate& e : entry.second.elements) {
      DestroyPointerCursor(e.cursor);
      e.cursor = nullptr;
      e.object = nullptr;
    }
  }
  rs.windows.clear();
}

bool AnyLiveWindow() {
  for (auto& entry : Runtime().windows)
    if (!entry.second.elements.empty() && Live(entry.second.elements[0].object)) return true;
  return false;
}

void OnElementDestroyed(uint32_t windowId, uint32_t elementId) {
  RuntimeState& rs = Runtime();
  WindowTemplate* window = FindWindowTemplate(windowId);
  if (!window) return;
  ElementTemplate* e = FindElement(*window, elementId);
  if (!e) return;
  if (!e->IsWindow()) {
    if (rs.recreating) return;
    DestroyPointerCursor(e->cursor);
    e->cursor = nullptr;
    e->object = nullptr;
    return;
  }
  for (ElementTemplate& each : window->elements) {
    DestroyPointerCursor(each.cursor);
    each.cursor = nullptr;
    each.object = nullptr;
  }
  // Every load starts from the stored description, whatever the last run changed.
  if (window->hasSnapshot) {
    window->elements = std::move(window->snapshot);
    window->snapshot.clear();
    window->hasSnapshot = false;
  }
  if (rs.modalWindowId == windowId) rs.modalWindowId = 0;
}

bool PreTranslateWindowMessage(MSG* msg) {
  for (HWND h = msg->hwnd; h;) {
    if (WindowObject* object = WindowObject::Query(h)) {
      if (object->PreTranslateMessage(msg)) return true;
    }
    if (!::IsWindow(h) || !(GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;  // top-level reached
    h = GetParent(h);
  }
  return false;
}

namespace {

// RuntimeService 2006 / 2007: the live object of a component (0 = the window).
WindowObject* ComponentObject(uint32_t windowId, uint32_t elementId, bool fatal) {
  WindowTemplate* window = FindWindowTemplate(windowId);
  WindowObject* found = nullptr;
  if (window && !window->elements.empty() && Live(window->elements[0].object)) {
    ElementTemplate* e = FindElement(*window, elementId);
    if (e && !e->IsMenuItem() && Live(e->object)) found = e->object;
  }
  if (!found && fatal) ReportRuntimeError("指定窗口或窗口组件不存在或尚未载入", 0);
  return found;
}

int32_t LoadWindowService(uint32_t windowId, const LoadWindowRequest* request) {
  const bool modal = request && request->modal;
  if (!LoadWindow(windowId, request ? request->owner : nullptr, modal)) return 0;
  WindowTemplate* window = FindWindowTemplate(windowId);
  WindowObject* object = window ? window->elements[0].object : nullptr;
  if (!Live(object)) return 1;
  if (!IsWindowVisible(object->hwnd())) {
    if (FormWindow* form = dynamic_cast<FormWindow*>(object)) form->ShowAfterLoad();
  }
  if (modal && Live(object)) RunModalLoop(windowId);
  return 1;
}

}  // namespace

int32_t WindowLayerService(int32_t code, int32_t arg1, int32_t arg2, bool* handled) {
  *handled = true;
  RuntimeState& rs = Runtime();
  switch (code) {
    case SvcWindowTable:
      return Word(&rs.windows);
    case SvcTypeInfo:
      return Word(ResolveComponentType(static_cast<uint32_t>(arg1)));
    case SvcNewWindowObject: {
      auto* object = new WindowObject;
      if (!object->Attach(static_cast<HWND>(PointerOf(arg1)))) {
        delete object;
        return 0;
      }
      return Word(object);
    }
    case SvcDeleteWindowObject:
      delete static_cast<WindowObject*>(PointerOf(arg1));
      return 0;
    case SvcDetachWindow:
      return arg1 ? Word(static_cast<WindowObject*>(PointerOf(arg1))->Detach()) : 0;
    case SvcWindowHandleOf:
      return arg1 ? Word(static_cast<WindowObject*>(PointerOf(arg1))->hwnd()) : 0;
    case SvcAttachWindow: {
      auto* object = static_cast<WindowObject*>(PointerOf(arg2));
      return object && object->Attach(static_cast<HWND>(PointerOf(arg1))) ? 1 : 0;
    }
    case SvcElementDestroyed:
      OnElementDestroyed(static_cast<uint32_t>(arg1), static_cast<uint32_t>(arg2));
      return 0;
    case SvcLoadWindow:
      return LoadWindowService(static_cast<uint32_t>(arg1), static_cast<const LoadWindowRequest*>(PointerOf(arg2)));
    case SvcComponentObject:
    case SvcComponentObjectOrFail:
      return Word(ComponentObject(static_cast<uint32_t>(arg1), static_cast<uint32_t>(arg2),
                                  code == SvcComponentObjectOrFail));
    case SvcFireEvent:
      return FireEvent(static_cast<EventRecord*>(PointerOf(arg1)));
    case SvcFireTypedEvent:
      return FireTypedEvent(static_cast<TypedEventRecord*>(PointerOf(arg1)));
    default:
      *handled = false;
      return 0;
  }
}

}  // namespace rt
