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
  switch (index) {
    case PCaption:
      data_.caption = TextOfData(data);
      SetWindowTextA(h, data_.caption.c_str());
      ReapplyCaptionStyles(size);
      break;
    case PBorder: {
      data_.border = value;
      LONG ex = GetWindowLongA(h, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
      SetWindowLongA(h, GWL_EXSTYLE, ex | static_cast<LONG>(ComputeExStyle()));
      LONG style = GetWindowLongA(h, GWL_STYLE) & ~(WS_DLGFRAME | WS_THICKFRAME);
      SetWindowLongA(h, GWL_STYLE, style | static_cast<LONG>(ComputeStyle(0) & (WS_DLGFRAME | WS_THICKFRAME)));
      SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ReapplyCaptionStyles(size);
      break;
    }
    case PBackColour: data_.backColour = data.value; InvalidateRect(h, nullptr, TRUE); break;
    case PPicture: data_.picture = bytes(); DecodeBackground(); InvalidateRect(h, nullptr, TRUE); break;
    case PPictureLayout:
      data_.pictureLayout = value;
      if (!data_.picture.empty()) InvalidateRect(h, nullptr, TRUE);
      break;
    case PSound: data_.sound = bytes(); break;
    case PSoundMode: data_.soundMode = value; break;
    case PControlBox: data_.controlBox = flag; ReapplyCaptionStyles(size); break;
    case PMaxButton: data_.maxButton = flag; ReapplyCaptionStyles(size); break;
    case PMinButton: data_.minButton = flag; ReapplyCaptionStyles(size); break;
    case PStartPosition:
      data_.startPosition = value;
      if (value == StartCentred) CentreOnScreen();
      else if (value == StartMaximised) ShowWindow(h, SW_MAXIMIZE);
      break;
    case PMovable:
      data_.movable = flag;
      GetSystemMenu(h, TRUE);
      if (!flag) RemoveMenu(GetSystemMenu(h, FALSE), SC_MOVE, MF_BYCOMMAND);
      break;
    case PIcon: data_.icon = bytes(); ApplyIcons(); break;
    case PEnterMovesFocus: data_.enterMovesFocus = flag; break;
    case PEscapeCloses: data_.escapeCloses = flag; break;
    case PF1Help: data_.f1Help = flag; break;
    case PHelpFile: data_.helpFile = TextOfData(data); break;
    case PHelpContext: data_.helpContext = value; break;
    case PShowInTaskbar: data_.showInTaskbar = flag; break;
    case PDragByClient: data_.dragByClient = flag; break;
    case PShape: data_.shape = value; ApplyShape(); break;
    case PAlwaysOnTop:
      data_.alwaysOnTop = flag;
      SetWindowPos(h, flag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      break;
    case PCaptionAlwaysActive: data_.captionAlwaysActive = flag; break;
    case PClassName: data_.className = TextOfData(data); break;
    default: break;
  }
  return 0;
}

bool WindowComponent::GetProperty(int32_t index, rt::PropertyData* data) {
  if (index == PStartPosition) {
    PutInt(data, IsIconic(hwnd()) ? StartMinimised : (IsZoomed(hwnd()) ? StartMaximised : StartAsStored));
    return true;
  }
  return PutStoredField(data_, kProperties, index, data);
}

}  // namespace comp
