// Small picture decoder for the Label and Button: icon file bytes become an icon,
// BMP file bytes a bitmap; anything else is no picture.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/handles.h"

namespace comp {

// A width or height from an icon directory, where 0 stands for 256.
inline int IconSide(uint8_t side) { return side ? side : 256; }
// An icon from one image of an icon file at cx x cy; null when the platform refuses it.
HICON CreateIconFromImage(const uint8_t* image, uint32_t length, int cx, int cy);

class Picture {
 public:
  Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Decodes the bytes; returns false (and holds nothing) when they are not a
  // supported picture.
  bool Decode(const uint8_t* data, size_t size);
  void Reset();

  bool empty() const { return !icon_ && !bitmap_; }
  HICON icon() const { return icon_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  // Draws the picture at (x, y) scaled to w x h.
  void Draw(HDC dc, int x, int y, int w, int h) const;

 private:
  bool DecodeIcon(const uint8_t* data, size_t size);
  bool DecodeBitmap(const uint8_t* data, size_t size);
  rt::IconHandle icon_;
  rt::GdiObject<HBITMAP> bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace comp
