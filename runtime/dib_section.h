// A 32-bit DIB section with its rows top-down, the surface that code which reads or
// writes pixels directly draws into: width * height pixels at *bits, row after row.
#pragma once
#include <windows.h>

#include "runtime/handles.h"

namespace rt {

inline GdiObject<HBITMAP> NewTopDownDib(HDC dc, int width, int height, void** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  return GdiObject<HBITMAP>(CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace rt
