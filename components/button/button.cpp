#include "components/button/button.h"

#include <memory>

#include "components/component_type.h"
#include "components/kernel_library.h"
#include "components/property_data.h"
#include "runtime/events.h"

namespace comp {
namespace {

constexpr DWORD kAlignMask = BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER;

}  // namespace

const rt::ComponentTypeInfo kButtonType =
    ComponentTypeEntry<Button>("按钮", "Button", kTypeLibraryBit | rt::TypeHasDefaultButton | rt::TypeIsControl);

void Button::VisitStoredTexts(ButtonData& d, rt::TextVisitorFn visitor, void* userData) {
  VisitTexts(visitor, userData, &d.font, {{&d.caption, 0}});
}

Button::Button(uint32_t windowId, uint32_t componentId) : StoredComponent(KernelLink(), windowId, componentId) {}

DWORD Button::TypeAndAlignStyles() const {
  static const DWORD kHorz[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
  static const DWORD kVert[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
  return (data_.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | kHorz[data_.horzAlign] |
         kVert[data_.vertAlign];
}

Button* Button::Create(const CreateArgs& a) {
  if (a.blobSize < 0) return nullptr;
  std::unique_ptr<Button> button(new Button(a.windowId, a.componentId));
  if (!button->data_.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  ButtonData& d = button->data_;
  DWORD ws = a.style | WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE | button->TypeAndAlignStyles();
  if (!d.picture.empty() && button->picture_.Decode(d.picture.data(), d.picture.size()))
    ws |= button->picture_.icon() ? BS_ICON : BS_BITMAP;
  else
    d.picture.clear();  // a picture that does not decode is dropped
  if (!button->CreateControl("BUTTON", d.caption.c_str(), ws, a)) return nullptr;
  HWND hwnd = button->hwnd();
  if (HICON icon = button->picture_.icon())
    SendMessageA(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  else if (HBITMAP bitmap = button->picture_.bitmap())
    SendMessageA(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  button->font_.Set(d.font);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(button->font_.handle()), FALSE);
  return button.release();
}

int32_t Button::PropertyChanged(int32_t index, const rt::PropertyData& v) {
  int32_t i = static_cast<int32_t>(v.value);
  switch (index) {
    case PPicture:
      data_.picture = BytesOfData(v);
      return 1;
    case PButtonType: case PHorzAlign: case PVertAlign: {
      if (index == PButtonType) data_.buttonType = ClampChoice(i, 1);
      if (index == PHorzAlign) data_.horzAlign = ClampChoice(i, 2);
      if (index == PVertAlign) data_.vertAlign = ClampChoice(i, 2);
      DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE));
      DWORD kind = style & BS_TYPEMASK;
      if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) style &= ~static_cast<DWORD>(BS_TYPEMASK);
      style &= ~kAlignMask;
      SetWindowLongA(hwnd(), GWL_STYLE, static_cast<LONG>(style | TypeAndAlignStyles()));
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    }
    case PCaption:
      data_.caption = TextOfData(v);
      SetWindowTextA(hwnd(), data_.caption.c_str());
      return 0;
    case PFont:
      data_.font = BytesOfData(v);
      font_.Set(data_.font);
      SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), TRUE);
      return 0;
    default:
      return 0;
  }
}

bool Button::GetProperty(int32_t index, rt::PropertyData* v) { return PutStoredField(data_, kProperties, index, v); }

bool Button::IsDefaultButton() const {
  return (static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

LRESULT Button::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      Fire(msg == WM_SETFOCUS ? rt::EventGotFocus : rt::EventLostFocus);
      return r;
    }
    default:
      return DefaultProc(msg, wParam, lParam);
  }
}

bool Button::OnReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    Fire(0);
    *result = 0;
    return true;
  }
  return false;
}

}  // namespace comp
