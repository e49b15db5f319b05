// Label painting: gradient frame, background picture or gradient, colour, caption.
#include <algorithm>

#include "components/label/label.h"
#include "runtime/dib_section.h"

namespace comp {
namespace {

constexpr int kTileSize = 50;

// Collects the colours that are not left out (kButtonFaceColor marks one left out).
int CollectColors(const uint32_t (&in)[3], COLORREF* out) {
  int n = 0;
  for (uint32_t c : in)
    if (c != kButtonFaceColor) out[n++] = static_cast<COLORREF>(c);
  return n;
}

// Position t and span L of a pixel for GradientBackMode 1 to 8.
void GradientPosition(int mode, int x, int y, int w, int h, int* t, int* span) {
  int fromRight = w - 1 - x, fromBottom = h - 1 - y;
  int diagonal = 2 * std::min(w, h);
  switch (mode) {
    case 1: *t = y; *span = h; break;
    case 2: *t = x; *span = w; break;
    case 3: *t = y + x; *span = diagonal; break;
    case 4: *t = y + fromRight; *span = diagonal; break;
    case 5: *t = fromBottom; *span = h; break;
    case 6: *t = fromRight; *span = w; break;
    case 7: *t = fromBottom + fromRight; *span = diagonal; break;
    default: *t = fromBottom + x; *span = diagonal; break;
  }
}

int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

}  // namespace

COLORREF GradientColorAt(const COLORREF* colors, int count, int t, int span) {
  if (count < 1) return 0;
  if (count == 1) return colors[0];
  int segment = span / (count - 1);
  int k = segment ? t / segment : 0;
  if (k > count - 2) return colors[count - 1];
  // f = (t mod s) / s; the product f * difference is truncated toward zero.
  int num = segment ? t % segment : 0;
  int den = segment ? segment : 1;
  int rgb[3];
  for (int i = 0; i < 3; ++i) {
    int a = Channel(colors[k], 8 * i), b = Channel(colors[k + 1], 8 * i);
    rgb[i] = a + num * (b - a) / den;
  }
  return RGB(rgb[0], rgb[1], rgb[2]);
}

void Label::PaintGradientFrame(HDC dc, RECT* area) {
  if (data_.border != 6 || data_.gradientBorderWidth <= 0) return;
  COLORREF colors[3];
  int n = CollectColors(data_.borderColors, colors);
  if (n < 2) return;
  int width = data_.gradientBorderWidth;
  for (int d = 0; d < width; ++d) {
    RECT ring = *area;
    InflateRect(&ring, -d, -d);
    if (ring.right <= ring.left || ring.bottom <= ring.top) break;
    rt::GdiObject<HBRUSH> brush(CreateSolidBrush(GradientColorAt(colors, n, d, width)));
    FrameRect(dc, &ring, brush.get());
  }
  InflateRect(area, -width, -width);
}

bool Label::PaintPicture(HDC dc, const RECT& area, HRGN region) {
  if (data_.picture.empty()) return false;
  if (!pictureDecoded_) {
    picture_.Decode(data_.picture.data(), data_.picture.size());
    pictureDecoded_ = true;
  }
  if (picture_.empty()) return false;
  int pw = picture_.width(), ph = picture_.height();
  int aw = area.right - area.left, ah = area.bottom - area.top;
  RECT drawn = {};
  switch (data_.pictureMode) {
    case 0:
      picture_.Draw(dc, area.left, area.top, pw, ph);
      drawn = {area.left, area.top, area.left + pw, area.top + ph};
      break;
    case 1: {
      int save = SaveDC(dc);
      IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
      for (int y = area.top; y < area.bottom; y += ph)
        for (int x = area.left; x < area.right; x += pw) picture_.Draw(dc, x, y, pw, ph);
      RestoreDC(dc, save);
      drawn = area;
      break;
    }
    default: {
      int w = pw, h = ph;
      if (w > aw || h > ah) {
        // Shrink keeping the proportions.
        if (static_cast<int64_t>(pw) * ah > static_cast<int64_t>(ph) * aw) {
          w = aw;
          h = static_cast<int>(static_cast<int64_t>(ph) * aw / pw);
        } else {
          h = ah;
          w = static_cast<int>(static_cast<int64_t>(pw) * ah / ph);
        }
      }
      int x = area.left + (aw - w) / 2, y = area.top + (ah - h) / 2;
      picture_.Draw(dc, x, y, w, h);
      drawn = {x, y, x + w, y + h};
      break;
    }
  }
  rt::GdiObject<HRGN> cut(CreateRectRgnIndirect(&drawn));
  CombineRgn(region, region, cut.get(), RGN_DIFF);
  return true;
}

bool Label::PaintGradient(HDC dc, const RECT& area, const RECT& update) {
  if (data_.gradientBackMode < 1 || data_.gradientBackMode > 8) return false;
  COLORREF colors[3];
  int n = CollectColors(data_.backColors, colors);
  if (n < 2) return false;
  int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return true;
  void* bits = nullptr;
  rt::GdiObject<HBITMAP> tile = rt::NewTopDownDib(dc, kTileSize, kTileSize, &bits);
  if (!tile || !bits) return false;
  rt::MemoryDC mem(CreateCompatibleDC(dc));
  rt::SelectedObject selected(mem.get(), tile.get());
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  for (int ty = 0; ty < h; ty += kTileSize) {
    for (int tx = 0; tx < w; tx += kTileSize) {
      int tw = std::min(kTileSize, w - tx), th = std::min(kTileSize, h - ty);
      RECT tileRect = {area.left + tx, area.top + ty, area.left + tx + tw, area.top + ty + th};
      RECT visible;
      if (!IntersectRect(&visible, &tileRect, &update)) continue;
      GdiFlush();
      for (int y = 0; y < th; ++y) {
        for (int x = 0; x < tw; ++x) {
          int t, span;
          GradientPosition(data_.gradientBackMode, tx + x, ty + y, w, h, &t, &span);
          COLORREF c = GradientColorAt(colors, n, t, span);
          pixels[y * kTileSize + x] = (static_cast<uint32_t>(GetRValue(c)) << 16) |
                                      (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
        }
      }
      BitBlt(dc, tileRect.left, tileRect.top, tw, th, mem.get(), 0, 0, SRCCOPY);
    }
  }
  return true;
}

void Label::PaintCaption(HDC dc, const RECT& area) {
  if (data_.caption.empty()) return;
  rt::SelectedObject font(dc, font_.handle());
  SetBkMode(dc, TRANSPARENT);
  UINT flags = DT_NOPREFIX;
  static const UINT kHorz[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  static const UINT kVert[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  flags |= kHorz[ClampChoice(data_.horzAlign, 2)];
  if (data_.wordWrap)
    flags |= DT_WORDBREAK | DT_VCENTER;
  else
    flags |= DT_SINGLELINE | kVert[ClampChoice(data_.vertAlign, 2)];
  RECT r = area;
  const char* text = data_.caption.c_str();
  int len = static_cast<int>(data_.caption.size());
  // Effects 1 to 3 draw a copy first: white one pixel down and right (1), white in
  // place with the caption one pixel down and right (2), black two pixels down and right (3).
  const auto drawCopy = [&](COLORREF colour, int shift) {
    RECT shifted = r;
    OffsetRect(&shifted, shift, shift);
    SetTextColor(dc, colour);
    DrawTextA(dc, text, len, &shifted, flags);
  };
  switch (data_.effect) {
    case 1: drawCopy(RGB(255, 255, 255), 1); break;
    case 2:
      drawCopy(RGB(255, 255, 255), 0);
      OffsetRect(&r, 1, 1);
      break;
    case 3: drawCopy(RGB(0, 0, 0), 2); break;
    default: break;
  }
  SetTextColor(dc, ResolveColor(data_.textColor));
  DrawTextA(dc, text, len, &r, flags);
}

void Label::Paint(HDC dc, const RECT& update) {
  RECT area;
  GetClientRect(hwnd(), &area);
  PaintGradientFrame(dc, &area);
  RECT background;
  if (!IntersectRect(&background, &area, &update)) background = RECT{};
  rt::GdiObject<HRGN> region(CreateRectRgnIndirect(&background));
  if (PaintPicture(dc, area, region.get())) {
    if (data_.pictureMode == 1) CombineRgn(region.get(), region.get(), region.get(), RGN_DIFF);
  } else if (PaintGradient(dc, area, update)) {
    CombineRgn(region.get(), region.get(), region.get(), RGN_DIFF);
  }
  rt::GdiObject<HBRUSH> back(CreateSolidBrush(ResolveColor(data_.backColor)));
  FillRgn(dc, region.get(), back.get());
  PaintCaption(dc, area);
}

}  // namespace comp
