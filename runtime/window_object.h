// The thin window-object layer under every runtime window: one object per platform
// window, a map from handle to object, and message routing to the object.
//
// Two ways to own a window:
//  - a class registered with RegisterObjectClass: create the window with the object
//    pointer as lpCreateParams (CreateObjectWindow); the object is attached at
//    WM_NCCREATE;
//  - a system control (EDIT, BUTTON, SysListView32): create it, then SubclassWindow.
// The object is detached at WM_NCDESTROY, where OnFinalMessage runs.  Deleting the
// object destroys a window that is still alive.  A window destroyed while
// CreateObjectWindow creates it (WM_CREATE answered -1, no display driver) leaves its
// object to the caller, who still owns it.
#pragma once
#include <windows.h>

#include <cstdint>

namespace rt {

// Private message that asks a window for its runtime object (wParam 0, lParam 0).  Every
// window object answers with itself; a component may answer for windows it does not
// own (its inner windows) with its own object.
constexpr UINT kMsgQueryObject = 0x8002;

class WindowObject {
 public:
  WindowObject() = default;
  WindowObject(const WindowObject&) = delete;
  WindowObject& operator=(const WindowObject&) = delete;
  virtual ~WindowObject();

  HWND hwnd() const { return hwnd_; }
  static WindowObject* FromHandle(HWND hwnd);
  // The window's own object, or else the live object that the window reports when
  // asked with kMsgQueryObject (only windows of this thread are asked; an answer that
  // is not a live window object is ignored).  Null when there is none.
  static WindowObject* Query(HWND hwnd);

  // Extra resources of a component whose type has TypeReleasesResources: the window
  // releases them when it is destroyed, before its destroyed event.  The default has none.
  virtual void ReleaseExtraResources() {}

  // Attaches to a window that no object owns yet (RuntimeService 1011).
  bool Attach(HWND hwnd);
  // Detaches and returns the handle; the window stays alive (RuntimeService 1009).
  HWND Detach();
  // Routes an existing window's messages to this object.
  bool SubclassWindow(HWND hwnd);

  // Registers a window class whose procedure routes to the attached object.
  static bool RegisterObjectClass(const char* className, UINT style, HCURSOR cursor, HBRUSH background);
  HWND CreateObjectWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                          int y, int width, int height, HWND parent, HMENU menuOrId);

  // Message handling: the default passes to the original or default procedure.
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

  // A notification from the parent window about this window (WM_COMMAND, WM_NOTIFY,
  // WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL, WM_VSCROLL).  Returns true
  // when handled, with the message result in *result.
  virtual bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

  // Pre-translation of a queued message for this window or its children; true consumes it.
  virtual bool PreTranslateMessage(MSG* msg);

  // Called once after WM_NCDESTROY, when the object has been detached.  The default
  // deletes the object unless it is being deleted already or its window is still being
  // created by CreateObjectWindow (whose caller then deletes it).
  virtual void OnFinalMessage();

  // Hands a reflected message to the object of the child window, if any.
  static bool ReflectToChild(HWND child, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

 protected:
  bool deleting() const { return deleting_; }
  // Inside CreateObjectWindow: a window that ends now never became anyone's object.
  bool creating() const { return creating_; }

 private:
  static LRESULT CALLBACK ClassProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;  // subclassed control's own procedure
  bool deleting_ = false;
  bool creating_ = false;  // inside CreateObjectWindow: the caller owns the object
};

}  // namespace rt
