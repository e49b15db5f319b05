// The window component's background: its colour, and its picture placed by the
// picture layout (top-left, tiled, centred or stretched).
#include "components/control_style.h"
#include "components/window/window_component.h"

namespace comp {

void WindowComponent::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  PaintBackground(dc, ps.rcPaint);
  EndPaint(hwnd(), &ps);
}

RECT BackgroundPictureRect(int32_t layout, int pw, int ph, int cw, int ch) {
  switch (layout) {
    case 2: {
      int w = pw, h = ph;
      if ((pw > cw || ph > ch) && pw > 0 && ph > 0) {
        // The side that overflows more decides the scale (64-bit products: no overflow).
        if (int64_t(pw) * ch >= int64_t(ph) * cw) {
          w = cw;
          h = static_cast<int>(int64_t(ph) * cw / pw);
        } else {
          h = ch;
          w = static_cast<int>(int64_t(pw) * ch / ph);
        }
      }
      const int x = (cw - w) / 2, y = (ch - h) / 2;
      return {x, y, x + w, y + h};
    }
    case 3:
      return {0, 0, cw, ch};
    default:
      return {0, 0, pw, ph};
  }
}

void WindowComponent::DecodeBackground() {
  background_.Decode(data_.picture.data(), data_.picture.size());
}

void WindowComponent::PaintBackground(HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(hwnd(), &client);
  rt::GdiObject<HBRUSH> background(CreateSolidBrush(ResolveColor(data_.backColour)));
  HBRUSH brush = background.get();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  const int pw = background_.width(), ph = background_.height();
  const bool picture = !background_.empty() && pw > 0 && ph > 0;
  if (picture && data_.pictureLayout == 1) {
    // Tiles from the client area's top-left cover all of it.
    if (background_.bitmap()) {
      rt::GdiObject<HBRUSH> tiles(CreatePatternBrush(background_.bitmap()));
      SetBrushOrgEx(dc, 0, 0, nullptr);
      FillRect(dc, &area, tiles.get());
    } else {
      FillRect(dc, &area, brush);  // under the icon's transparent parts
      for (int y = area.top - area.top % ph; y < area.bottom; y += ph)
        for (int x = area.left - area.left % pw; x < area.right; x += pw) background_.Draw(dc, x, y, pw, ph);
    }
  } else {
    if (picture) {
      const RECT r = BackgroundPictureRect(data_.pictureLayout, pw, ph, client.right, client.bottom);
      RECT visible;
      if (IntersectRect(&visible, &r, &area)) {
        if (background_.icon()) FillRect(dc, &r, brush);  // under the icon's transparent parts
        background_.Draw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top);
      }
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    FillRect(dc, &area, brush);
  }
  RestoreDC(dc, saved);
}

}  // namespace comp
