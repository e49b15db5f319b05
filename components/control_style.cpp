#include "components/control_style.h"

#include "formats/byte_reader.h"

namespace comp {

COLORREF ResolveColor(uint32_t color) {
  return color == kButtonFaceColor ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(color);
}

void ApplyBorderStyle(HWND hwnd, int32_t border) {
  DWORD ex = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE));
  DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
  ex &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE);
  style &= ~static_cast<DWORD>(WS_BORDER);
  switch (border) {
    case 1: ex |= WS_EX_CLIENTEDGE; break;
    case 2: ex |= WS_EX_DLGMODALFRAME; break;
    case 3: ex |= WS_EX_STATICEDGE; break;
    case 4: ex |= WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME; break;
    case 5: style |= WS_BORDER; break;
    default: break;
  }
  SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(style));
  SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<LONG>(ex));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ComponentFont::Set(const std::vector<uint8_t>& bytes) {
  own_.reset();
  if (bytes.size() != sizeof(LOGFONTA)) return;
  static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA is 60 bytes");
  rt::ByteReader r(bytes.data(), bytes.size());
  LOGFONTA lf = {};
  lf.lfHeight = r.i32();
  lf.lfWidth = r.i32();
  lf.lfEscapement = r.i32();
  lf.lfOrientation = r.i32();
  lf.lfWeight = r.i32();
  lf.lfItalic = r.u8();
  lf.lfUnderline = r.u8();
  lf.lfStrikeOut = r.u8();
  lf.lfCharSet = r.u8();
  lf.lfOutPrecision = r.u8();
  lf.lfClipPrecision = r.u8();
  lf.lfQuality = r.u8();
  lf.lfPitchAndFamily = r.u8();
  std::vector<uint8_t> face = r.bytes(LF_FACESIZE);
  if (!r.ok()) return;
  for (size_t i = 0; i + 1 < LF_FACESIZE; ++i) lf.lfFaceName[i] = static_cast<char>(face[i]);
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  own_.reset(CreateFontIndirectA(&lf));
}

}  // namespace comp
