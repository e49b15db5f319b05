// Helpers shared by the kernel's simple controls (EditBox, Label, Button): colours,
// border styles, fonts from LOGFONTA bytes, GDI handle ownership and property values.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/property_values.h"
#include "runtime/program_image.h"

namespace comp {

// kButtonFaceColor as the system's button-face colour, any other value as it is.
COLORREF ResolveColor(uint32_t color);

// Applies BorderStyle 0 to 5 (6 has no window styles) and recomputes the frame.
void ApplyBorderStyle(HWND hwnd, int32_t border);

// Owns one GDI object (brush, font, bitmap).
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { reset(); }
  T get() const { return h_; }
  void reset(T h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  T h_ = nullptr;
};

// A font property: 60 LOGFONTA bytes, or anything else for the default GUI font.
class ComponentFont {
 public:
  // Realises the font; falls back to the default GUI font when the bytes are not a
  // usable LOGFONTA.
  void Set(const std::vector<uint8_t>& logfontBytes);
  HFONT handle() const { return own_ ? own_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

 private:
  GdiObject<HFONT> own_;
};

// Property value helpers (PropertyData crossing between runtime and component).
inline const char* TextOfData(const rt::PropertyData* d) {
  const char* p = reinterpret_cast<const char*>(static_cast<uintptr_t>(d->value));
  return p ? p : "";
}
inline std::vector<uint8_t> BytesOfData(const rt::PropertyData* d) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(d->value));
  if (!p || d->high == 0) return {};
  return std::vector<uint8_t>(p, p + d->high);
}
inline void PutText(rt::PropertyData* d, const std::string& s) {
  d->value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(s.c_str()));
  d->high = 0;
}
inline void PutBytes(rt::PropertyData* d, const std::vector<uint8_t>& b) {
  d->value = b.empty() ? 0 : static_cast<uint32_t>(reinterpret_cast<uintptr_t>(b.data()));
  d->high = static_cast<uint32_t>(b.size());
}
inline void PutInt(rt::PropertyData* d, int32_t v) {
  d->value = static_cast<uint32_t>(v);
  d->high = 0;
}

// The eight common properties of every window component, as PropertyInfo rows.
#define COMP_COMMON_PROPERTIES                                                                        \
  {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},                                      \
      {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},                                  \
      {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},                                  \
      {nullptr, nullptr, nullptr, rt::KindInteger, 0xE000, nullptr},                                  \
      {nullptr, nullptr, nullptr, rt::KindText, 0xE000, nullptr},                                     \
      {nullptr, nullptr, nullptr, rt::KindLogical, 0xE000, nullptr},                                  \
      {nullptr, nullptr, nullptr, rt::KindLogical, 0xE000, nullptr},                                  \
      {nullptr, nullptr, nullptr, rt::KindCursor, 0xE000, nullptr}
#define COMP_PROPERTY(kind) {nullptr, nullptr, nullptr, rt::kind, 0x8000, nullptr}

}  // namespace comp
