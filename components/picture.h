// Small picture decoder for the Label and Button: icon file bytes become an icon,
// BMP file bytes a bitmap; anything else is no picture.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace comp {

class Picture {
 public:
  Picture() = default;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  ~Picture() { Reset(); }

  // Decodes the bytes; returns false (and holds nothing) when they are not a
  // supported picture.
  bool Decode(const uint8_t* data, size_t size);
  void Reset();

  bool empty() const { return !icon_ && !bitmap_; }
  HICON icon() const { return icon_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Draws the picture at (x, y) scaled to w x h.
  void Draw(HDC dc, int x, int y, int w, int h) const;

 private:
  bool DecodeIcon(const uint8_t* data, size_t size);
  bool DecodeBitmap(const uint8_t* data, size_t size);
  HICON icon_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace comp
