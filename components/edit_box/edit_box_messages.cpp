// EditBox messages: focus and typing, the narrowed single-line client area, the
// up-down arrows and the notifications its parent reflects to it.
#include "components/edit_box/edit_box.h"

#include <commctrl.h>

#include <cstdlib>

#include "runtime/events.h"

namespace comp {

bool EditBox::WantsKey(int32_t key) const {
  return key == VK_RETURN && data_.multiLine && !(GetWindowLongA(hwnd(), GWL_STYLE) & ES_READONLY);
}

void EditBox::Normalise() {
  if (data_.inputMode < InputByte) return;
  std::string text = WindowText();
  std::string normal = NormaliseEditText(data_.inputMode, text);
  if (normal == text) return;
  DWORD start = 0, end = 0;
  SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SetWindowTextA(hwnd(), normal.c_str());
  SendMessageA(hwnd(), EM_SETSEL, start, start);
}

void EditBox::OnSpin(int delta) {
  if (delta == 0) return;
  int direction = delta > 0 ? 1 : -1;
  if (data_.spinType == 2) {
    Fire(1, {direction});
    return;
  }
  if (data_.spinType != 1 || !IsWindowEnabled(hwnd()) || !IsWindowVisible(hwnd())) return;
  int lower = 0, upper = 0;
  SendMessageA(spinWindow(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  // The integer value of the text, read as the long-integer mode reads it.
  std::string digits = NormaliseEditText(InputLong, WindowText());
  int64_t value = std::strtoll(digits.c_str(), nullptr, 10);
  value += direction;
  if (value > upper) value = lower;
  if (value < lower) value = upper;
  SetWindowTextA(hwnd(), std::to_string(value).c_str());
  SendMessageA(hwnd(), EM_SETSEL, 0, -1);
  SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
  SetFocus(hwnd());
}

LRESULT EditBox::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  LRESULT r = DefaultProc(WM_NCCALCSIZE, wParam, lParam);
  if (data_.multiLine || lineHeight_ <= 0) return r;
  RECT* rc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  int h = rc->bottom - rc->top;
  if (h > lineHeight_) {
    rc->top += (h - lineHeight_) / 2;
    rc->bottom = rc->top + lineHeight_;
  }
  return r;
}

// Fills the part of the non-client area inside the border that the narrowed client
// area leaves, with the background brush.
void EditBox::OnNcPaint() {
  RECT window;
  GetWindowRect(hwnd(), &window);
  RECT inner = {0, 0, window.right - window.left, window.bottom - window.top};
  DefaultProc(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&inner));
  RECT client;
  GetClientRect(hwnd(), &client);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  HDC dc = GetWindowDC(hwnd());
  if (!dc) return;
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &inner, brush_.get());
  ReleaseDC(hwnd(), dc);
}

LRESULT EditBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CHAR:
      if (!EditAcceptsChar(data_.inputMode, static_cast<unsigned>(wParam))) return 0;
      break;
    case WM_SETFOCUS: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      Fire(rt::EventGotFocus);
      return r;
    }
    case WM_KILLFOCUS: {
      Normalise();
      LRESULT r = DefaultProc(msg, wParam, lParam);
      if (IsWindow(hwnd())) Fire(rt::EventLostFocus);
      return r;
    }
    case WM_COMMAND:
      // The change notification that a write of Content sends to the box itself.
      if (reinterpret_cast<HWND>(lParam) == hwnd() && HIWORD(wParam) == EN_CHANGE) {
        Fire(0);
        return 0;
      }
      break;
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      if (!data_.multiLine) OnNcPaint();
      return r;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.get());
      return 1;
    }
    case WM_WINDOWPOSCHANGED: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      PlaceSpin(reinterpret_cast<const WINDOWPOS*>(lParam));
      return r;
    }
    case WM_ENABLE:
      if (HWND spin = spinWindow()) EnableWindow(spin, static_cast<BOOL>(wParam));
      break;
    case WM_DESTROY:
      if (spin_) {
        spin_->Disown();
        HWND spin = spin_->hwnd();
        spin_ = nullptr;
        if (spin) DestroyWindow(spin);
      }
      break;
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

bool EditBox::OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        if (!suppressChange_) Fire(0);
        *result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ResolveColor(data_.textColor));
      SetBkColor(dc, ResolveColor(data_.backColor));
      *result = reinterpret_cast<LRESULT>(brush_.get());
      return true;
    }
    default:
      (void)lParam;
      return false;
  }
}

}  // namespace comp
