// The window component (kernel type 1): the top-level window of every form.  It owns
// the platform window into which the other components are created, the menu and its
// accelerator table, keyboard navigation between components and the window events:
//   0 created, 1 close query, 2 destroyed, 3 moved, 4 resized, 5 activated,
//   6 deactivated, 7 idle, 8 first activated, 9 tray icon, 10 shown, 11 hidden.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "components/component.h"
#include "components/picture.h"
#include "components/window_properties.h"
#include "runtime/program_image.h"
#include "runtime/window_loader.h"

namespace comp {

class WindowComponent : public Component, public rt::FormWindow {
 public:
  WindowComponent(uint32_t windowId, uint32_t elementId, bool modal);
  ~WindowComponent() override;

  // Creates the platform window from the property blob, applies the properties and
  // attaches the object; false leaves no platform window behind.
  bool Create(const uint8_t* blob, int32_t size, uint32_t style, HWND owner, HMENU menu, int32_t left,
              int32_t top, int32_t width, int32_t height);

  WindowProperties& properties() { return props_; }
  // PropertyChanged for the type's own property index (0 = caption); always 0.
  int32_t ApplyProperty(int32_t index, const rt::PropertyData& data);
  bool ReadProperty(int32_t index, rt::PropertyData* data);

  // rt::FormWindow
  void SetAcceleratorTable(HACCEL table) override;
  void ShowAfterLoad() override;
  void SetDisabledWindows(std::vector<std::pair<HWND, bool>> windows) override;
  void MarkLoaded() override { loaded_ = true; }

  bool loaded() const { return loaded_; }
  // Help was opened for this window (WinHelpA) and must be closed when it is destroyed.
  void SetHelpShown(bool shown) { helpShown_ = shown; }
  bool helpShown() const { return helpShown_; }
  HACCEL accelerators() const { return accelerators_; }

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;

  // Focus order of the window's components (window_keyboard.cpp): Tab / Shift+Tab target
  // from the focused window, or null.
  HWND NextInFocusOrder(HWND focused, bool backwards);
  HWND FirstInFocusOrder();

 protected:
  void OnFinalMessage() override;

 private:
  uint32_t ComputeStyle(uint32_t base) const;
  uint32_t ComputeExStyle() const;
  // Re-applies WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX from the
  // properties; a window (neither minimised nor maximised) whose size then differs from
  // `size` is given that size.
  void ReapplyCaptionStyles(SIZE size);
  SIZE WindowSize() const;
  void ApplyIcons();
  void ApplyShape();
  void CentreOnScreen();
  void RestoreDisabledWindows();

  LRESULT OnClose();
  void OnDestroy();
  void OnActivate(WPARAM wParam, LPARAM lParam);
  void OnSetFocus();
  bool OnSetCursor(HWND hwnd, UINT hitTest);
  void OnPaint();
  // Background picture by its layout, the rest of `area` in the background colour.
  void PaintBackground(HDC dc, const RECT& area);
  void DecodeBackground();
  void ReleaseComponentResources();
  void OnTrayIcon(LPARAM mouseMessage);
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
  void ArrangeDockedBars();
  void FireFocusedGotFocus();

  // Keyboard helpers (window_keyboard.cpp).
  bool HandleKey(MSG* msg);
  bool FireCommonEvent(MSG* msg);
  bool ClickDefaultButton();

  WindowProperties props_;
  Picture background_;  // decoded background picture; empty when none or unreadable
  bool modal_ = false;
  bool firstActivationDone_ = false;
  bool loaded_ = false;
  bool dockingOn_ = false;
  bool helpShown_ = false;
  HACCEL accelerators_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::vector<std::pair<HWND, bool>> disabledWindows_;
};

// Where the background picture goes in a client area of cw x ch for a picture layout:
// 0 top-left at natural size; 2 centred, shrunk to fit keeping its proportions when it
// is larger; 3 stretched to the client area.  Layout 1 (tiled) places its first tile
// like 0; other layouts are treated as 0.
RECT BackgroundPictureRect(int32_t layout, int pictureWidth, int pictureHeight, int cw, int ch);

// The template of this window and one of its elements (null when absent).
rt::WindowTemplate* WindowTemplateOf(uint32_t windowId);

}  // namespace comp
