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
#include "components/component_type.h"
#include "components/picture.h"
#include "formats/records/window_data.h"
#include "runtime/handles.h"
#include "runtime/program_image.h"
#include "runtime/window_loader.h"

namespace comp {

extern const rt::ComponentTypeInfo kWindowType;  // kernel type 1

class WindowComponent : public StoredComponent<WindowData>, public rt::FormWindow {
 public:
  // A window of the form being loaded (modal when the runtime loads a modal one); null
  // when it cannot be created, leaving no platform window behind.
  static WindowComponent* Create(const CreateArgs& args);
  static void VisitStoredTexts(WindowData& data, rt::TextVisitorFn visitor, void* userData);

  // The window's own properties (components/property_list.h).  The start position is
  // read from the window's state by GetProperty itself.
#define COMP_WINDOW_PROPERTIES(X, C)                                                                  \
  X(Caption, rt::KindText, caption) X(Border, rt::KindChoice, border)                                 \
  X(BackColour, rt::KindBackColor, backColour)                                                        \
  X(Picture, rt::KindPicture, picture) X(PictureLayout, rt::KindChoice, pictureLayout)                \
  X(Sound, rt::KindSound, sound) X(SoundMode, rt::KindChoice, soundMode)                              \
  X(ControlBox, rt::KindLogical, controlBox) X(MaxButton, rt::KindLogical, maxButton)                 \
  X(MinButton, rt::KindLogical, minButton)                                                            \
  C(StartPosition, rt::KindChoice) X(Movable, rt::KindLogical, movable) X(Icon, rt::KindIcon, icon)   \
  X(EnterMovesFocus, rt::KindLogical, enterMovesFocus) X(EscapeCloses, rt::KindLogical, escapeCloses) \
  X(F1Help, rt::KindLogical, f1Help) X(HelpFile, rt::KindFileName, helpFile)                          \
  X(HelpContext, rt::KindInteger, helpContext)                                                        \
  X(ShowInTaskbar, rt::KindLogical, showInTaskbar) X(DragByClient, rt::KindLogical, dragByClient)     \
  X(Shape, rt::KindChoice, shape) X(AlwaysOnTop, rt::KindLogical, alwaysOnTop)                        \
  X(CaptionAlwaysActive, rt::KindLogical, captionAlwaysActive) X(ClassName, rt::KindText, className)
  COMP_PROPERTIES(WindowData, kOwnPropertyFlags, COMP_WINDOW_PROPERTIES);
#undef COMP_WINDOW_PROPERTIES

  // window_properties.cpp: the type's own property index (0 = caption); always 0.
  int32_t PropertyChanged(int32_t index, const rt::PropertyData& data);
  bool GetProperty(int32_t index, rt::PropertyData* data);

  // rt::FormWindow
  void SetAcceleratorTable(HACCEL table) override;
  void ShowAfterLoad() override;
  void SetDisabledWindows(std::vector<std::pair<HWND, bool>> windows) override;
  void MarkLoaded() override { loaded_ = true; }

  bool loaded() const { return loaded_; }
  // Help was opened for this window (WinHelpA) and must be closed when it is destroyed.
  void SetHelpShown(bool shown) { helpShown_ = shown; }
  bool helpShown() const { return helpShown_; }
  HACCEL accelerators() const { return accelerators_.get(); }

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;

  // Focus order of the window's components (window_keyboard.cpp): Tab / Shift+Tab target
  // from the focused window, or null.
  HWND NextInFocusOrder(HWND focused, bool backwards);
  HWND FirstInFocusOrder();

 protected:
  void OnFinalMessage() override;

 private:
  WindowComponent(uint32_t windowId, uint32_t elementId, bool modal);
  // Creates the platform window from the property blob, applies the properties and
  // attaches the object; false leaves no platform window behind.
  bool CreateWindowOf(const CreateArgs& args);
  uint32_t ComputeStyle(uint32_t base) const;
  uint32_t ComputeExStyle() const;
  // Re-applies WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX from the
  // properties; a window (neither minimised nor maximised) whose size then differs from
  // `size` is given that size.
  void ReapplyCaptionStyles(SIZE size);
  SIZE WindowSize() const;
  void ApplyIcons();  // window_icons.cpp
  void ApplyShape();
  void CentreOnScreen();
  void RestoreDisabledWindows();

  LRESULT OnClose();
  void OnDestroy();
  void OnActivate(WPARAM wParam, LPARAM lParam);
  void OnSetFocus();
  bool OnSetCursor(HWND hwnd, UINT hitTest);
  // window_paint.cpp: the background picture by its layout, the rest of `area` in the
  // background colour.
  void OnPaint();
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

  Picture background_;  // decoded background picture; empty when none or unreadable
  bool modal_ = false;
  bool firstActivationDone_ = false;
  bool loaded_ = false;
  bool dockingOn_ = false;
  bool helpShown_ = false;
  rt::AcceleratorHandle accelerators_;
  // The icons made from the icon property; empty while the window shows the program's
  // shared default icons.
  rt::IconHandle ownBigIcon_;
  rt::IconHandle ownSmallIcon_;
  HWND lastFocus_ = nullptr;
  std::vector<std::pair<HWND, bool>> disabledWindows_;
};

// Where the background picture goes (window_paint.cpp) in a client area of cw x ch for
// a picture layout: 0 top-left at natural size; 2 centred, shrunk to fit keeping its
// proportions when it is larger; 3 stretched to the client area.  Layout 1 (tiled)
// places its first tile like 0; other layouts are treated as 0.
RECT BackgroundPictureRect(int32_t layout, int pictureWidth, int pictureHeight, int cw, int ch);

// The template of this window and one of its elements (null when absent).
rt::WindowTemplate* WindowTemplateOf(uint32_t windowId);
// The type entry of a component type id; null when the id names none.
const rt::ComponentTypeInfo* ComponentTypeOf(uint32_t typeId);

}  // namespace comp
