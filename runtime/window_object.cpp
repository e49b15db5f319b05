#include "runtime/window_object.h"

#include <map>

namespace rt {
namespace {
std::map<HWND, WindowObject*>& HandleMap() {
  static std::map<HWND, WindowObject*> map;
  return map;
}
}  // namespace

WindowObject::~WindowObject() {
  deleting_ = true;
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (hwnd_) Detach();
}

WindowObject* WindowObject::FromHandle(HWND hwnd) {
  auto it = HandleMap().find(hwnd);
  return it == HandleMap().end() ? nullptr : it->second;
}

WindowObject* WindowObject::Query(HWND hwnd) {
  if (WindowObject* own = FromHandle(hwnd)) return own;
  if (!hwnd || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return nullptr;
  const LRESULT answer = SendMessageA(hwnd, kMsgQueryObject, 0, 0);
  if (!answer) return nullptr;
  // Trust only an object of the handle map: a window that does not know the message may
  // answer anything.
  for (const auto& entry : HandleMap())
    if (reinterpret_cast<LRESULT>(entry.second) == answer) return entry.second;
  return nullptr;
}

bool WindowObject::Attach(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  hwnd_ = hwnd;
  HandleMap()[hwnd] = this;
  return true;
}

HWND WindowObject::Detach() {
  HWND h = hwnd_;
  if (!h) return nullptr;
  if (original_ && IsWindow(h)) SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  original_ = nullptr;
  HandleMap().erase(h);
  hwnd_ = nullptr;
  return h;
}

bool WindowObject::SubclassWindow(HWND hwnd) {
  if (!Attach(hwnd)) return false;
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowObject::SubclassProc)));
  return original_ != nullptr;
}

bool WindowObject::RegisterObjectClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background) {
  WNDCLASSA existing;
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = style;
  wc.lpfnWndProc = &WindowObject::ClassProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

HWND WindowObject::CreateObjectWindow(DWORD exStyle, const char* className, const char* title, DWORD style,
                                      int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
  // A window that fails after WM_NCCREATE attached it gets WM_NCDESTROY before
  // CreateWindowExA returns null; its final message must not delete the object that the
  // caller is about to delete for the failed creation.
  creating_ = true;
  HWND h = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                           GetModuleHandleA(nullptr), this);
  creating_ = false;
  return h;
}

LRESULT WindowObject::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (original_) return CallWindowProcA(original_, hwnd_, msg, wParam, lParam);
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT WindowObject::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultProc(msg, wParam, lParam);
}

bool WindowObject::OnReflected(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool WindowObject::PreTranslateMessage(MSG*) { return false; }

void WindowObject::OnFinalMessage() {
  if (!deleting_ && !creating_) delete this;
}

bool WindowObject::ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  WindowObject* object = child ? FromHandle(child) : nullptr;
  return object && object->OnReflected(msg, wParam, lParam, result);
}

LRESULT WindowObject::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kMsgQueryObject) return reinterpret_cast<LRESULT>(this);
  // The default WindowProc passes WM_NCDESTROY on to the control's own procedure.
  LRESULT r = WindowProc(msg, wParam, lParam);
  if (msg == WM_NCDESTROY && hwnd_) {
    original_ = nullptr;
    Detach();
    OnFinalMessage();
  }
  return r;
}

LRESULT CALLBACK WindowObject::ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowObject* object = FromHandle(hwnd);
  if (!object && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    object = static_cast<WindowObject*>(cs->lpCreateParams);
    if (object) object->Attach(hwnd);
  }
  if (!object) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return object->Dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK WindowObject::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowObject* object = FromHandle(hwnd);
  if (!object) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return object->Dispatch(msg, wParam, lParam);
}

}  // namespace rt
