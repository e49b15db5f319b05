// The window component's property slots: a written property applied to the window, a
// read one taken from it, and the whole blob.
#include "components/property_data.h"
#include "components/window/window_component.h"

namespace comp {

int32_t WindowComponent::PropertyChanged(int32_t index, const rt::PropertyData& data) {
  HWND h = hwnd();
  const auto bytes = [&data]() { return BytesOfData(data); };
  const bool flag = data.value != 0;
  const int32_t value = static_cast<int32_t>(data.value);
  // Style changes keep the size the window has now: a written width or height (already
  // applied to the window and its record) or one the user chose.
  const SIZE size = WindowSize();
  switch (index + 8) {
    case 8:
      props_.caption = TextOfData(data);
      SetWindowTextA(h, props_.caption.c_str());
      ReapplyCaptionStyles(size);
      break;
    case 9: {
      props_.border = value;
      LONG ex = GetWindowLongA(h, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
      SetWindowLongA(h, GWL_EXSTYLE, ex | static_cast<LONG>(ComputeExStyle()));
      LONG style = GetWindowLongA(h, GWL_STYLE) & ~(WS_DLGFRAME | WS_THICKFRAME);
      SetWindowLongA(h, GWL_STYLE, style | static_cast<LONG>(ComputeStyle(0) & (WS_DLGFRAME | WS_THICKFRAME)));
      SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ReapplyCaptionStyles(size);
      break;
    }
    case 10: props_.backColour = data.value; InvalidateRect(h, nullptr, TRUE); break;
    case 11: props_.picture = bytes(); DecodeBackground(); InvalidateRect(h, nullptr, TRUE); break;
    case 12:
      props_.pictureLayout = value;
      if (!props_.picture.empty()) InvalidateRect(h, nullptr, TRUE);
      break;
    case 13: props_.sound = bytes(); break;
    case 14: props_.soundMode = value; break;
    case 15: props_.controlBox = flag; ReapplyCaptionStyles(size); break;
    case 16: props_.maxButton = flag; ReapplyCaptionStyles(size); break;
    case 17: props_.minButton = flag; ReapplyCaptionStyles(size); break;
    case 18:
      props_.startPosition = value;
      if (value == StartCentred) CentreOnScreen();
      else if (value == StartMaximised) ShowWindow(h, SW_MAXIMIZE);
      break;
    case 19:
      props_.movable = flag;
      GetSystemMenu(h, TRUE);
      if (!flag) RemoveMenu(GetSystemMenu(h, FALSE), SC_MOVE, MF_BYCOMMAND);
      break;
    case 20: props_.icon = bytes(); ApplyIcons(); break;
    case 21: props_.enterMovesFocus = flag; break;
    case 22: props_.escapeCloses = flag; break;
    case 23: props_.f1Help = flag; break;
    case 24: props_.helpFile = TextOfData(data); break;
    case 25: props_.helpContext = value; break;
    case 26: props_.showInTaskbar = flag; break;
    case 27: props_.dragByClient = flag; break;
    case 28: props_.shape = value; ApplyShape(); break;
    case 29:
      props_.alwaysOnTop = flag;
      SetWindowPos(h, flag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case 30: props_.captionAlwaysActive = flag; break;
    case 31: props_.className = TextOfData(data); break;
    default: break;
  }
  return 0;
}

bool WindowComponent::GetProperty(int32_t index, rt::PropertyData* data) {
  const auto text = [data](const std::string& s) { PutText(data, s); };
  const auto bytes = [data](const std::vector<uint8_t>& v) { PutBytes(data, v); };
  const auto number = [data](uint32_t v) { PutInt(data, static_cast<int32_t>(v)); };
  switch (index + 8) {
    case 8: text(props_.caption); break;
    case 9: number(props_.border); break;
    case 10: number(props_.backColour); break;
    case 11: bytes(props_.picture); break;
    case 12: number(props_.pictureLayout); break;
    case 13: bytes(props_.sound); break;
    case 14: number(props_.soundMode); break;
    case 15: number(props_.controlBox); break;
    case 16: number(props_.maxButton); break;
    case 17: number(props_.minButton); break;
    case 18: number(IsIconic(hwnd()) ? StartMinimised : (IsZoomed(hwnd()) ? StartMaximised : StartAsStored)); break;
    case 19: number(props_.movable); break;
    case 20: bytes(props_.icon); break;
    case 21: number(props_.enterMovesFocus); break;
    case 22: number(props_.escapeCloses); break;
    case 23: number(props_.f1Help); break;
    case 24: text(props_.helpFile); break;
    case 25: number(props_.helpContext); break;
    case 26: number(props_.showInTaskbar); break;
    case 27: number(props_.dragByClient); break;
    case 28: number(props_.shape); break;
    case 29: number(props_.alwaysOnTop); break;
    case 30: number(props_.captionAlwaysActive); break;
    case 31: text(props_.className); break;
    default: return false;
  }
  return true;
}

std::vector<uint8_t> WindowComponent::WriteProperties() const { return props_.Write(); }

}  // namespace comp
