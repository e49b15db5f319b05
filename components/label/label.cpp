#include "components/label/label.h"

#include <memory>

#include "components/component_type.h"
#include "components/kernel_library.h"
#include "components/property_data.h"

namespace comp {
namespace {

constexpr char kLabelClass[] = "WTLabel";

}  // namespace

const rt::ComponentTypeInfo kLabelType = ComponentTypeEntry<Label>(
    "标签", "Label", kTypeLibraryBit | rt::TypeDragsForm | kTypeNoTabStop | kTypeTakesNoFocus | rt::TypeIsControl);

void Label::VisitStoredTexts(LabelData& d, rt::TextVisitorFn visitor, void* userData) {
  VisitTexts(visitor, userData, &d.font, {{&d.caption, 0}, {&d.dataSource, 0}, {&d.dataField, 0}});
}

Label::Label(uint32_t windowId, uint32_t componentId) : StoredComponent(KernelLink(), windowId, componentId) {}

Label* Label::Create(const CreateArgs& a) {
  if (a.blobSize < 0) return nullptr;
  LabelData data;
  if (!data.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  if (!RegisterObjectClass(kLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                           nullptr))
    return nullptr;
  std::unique_ptr<Label> label(new Label(a.windowId, a.componentId));
  label->data_ = std::move(data);
  label->font_.Set(label->data_.font);
  HWND hwnd = label->CreateObjectWindow(0, kLabelClass, label->data_.caption.c_str(),
                                        a.style | WS_CHILD | WS_CLIPSIBLINGS, a.left, a.top, a.width, a.height,
                                        a.parent, a.ChildId());
  if (!hwnd) return nullptr;
  ApplyBorderStyle(hwnd, label->data_.border);
  return label.release();
}

int32_t Label::PropertyChanged(int32_t index, const rt::PropertyData& v) {
  int32_t i = static_cast<int32_t>(v.value);
  switch (index) {
    case PCaption:
      data_.caption = TextOfData(v);
      SetWindowTextA(hwnd(), data_.caption.c_str());
      break;
    case PEffect: data_.effect = ClampChoice(i, 3); break;
    case PBorder:
      data_.border = ClampChoice(i, 6);
      ApplyBorderStyle(hwnd(), data_.border);
      break;
    case PGradientBorderWidth: data_.gradientBorderWidth = i < 5 ? 5 : i; break;
    case PBorderColor1: case PBorderColor2: case PBorderColor3:
      data_.borderColors[index - PBorderColor1] = v.value;
      break;
    case PFont:
      data_.font = BytesOfData(v);
      font_.Set(data_.font);
      break;
    case PTextColor: data_.textColor = v.value; break;
    case PBackColor: data_.backColor = v.value; break;
    case PPicture:
      data_.picture = BytesOfData(v);
      picture_.Reset();
      pictureDecoded_ = false;
      break;
    case PPictureMode: data_.pictureMode = ClampChoice(i, 2); break;
    case PGradientBackMode: data_.gradientBackMode = ClampChoice(i, 8); break;
    case PBackColor1: case PBackColor2: case PBackColor3:
      data_.backColors[index - PBackColor1] = v.value;
      break;
    case PHorzAlign: data_.horzAlign = ClampChoice(i, 2); break;
    case PWordWrap: data_.wordWrap = v.value ? 1 : 0; break;
    case PVertAlign: data_.vertAlign = ClampChoice(i, 2); break;
    case PDataSource: data_.dataSource = TextOfData(v); break;
    case PDataField: data_.dataField = TextOfData(v); break;
    default: return 0;
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
  return 0;
}

bool Label::GetProperty(int32_t index, rt::PropertyData* v) {
  if (index >= PBorderColor1 && index <= PBorderColor3) {
    PutField(v, data_.borderColors[index - PBorderColor1]);
    return true;
  }
  if (index >= PBackColor1 && index <= PBackColor3) {
    PutField(v, data_.backColors[index - PBackColor1]);
    return true;
  }
  return PutStoredField(data_, kProperties, index, v);
}

LRESULT Label::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      if (!IsRectEmpty(&ps.rcPaint)) Paint(dc, ps.rcPaint);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(hwnd(), &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case kLabelEventMessage: {
      EventAnswer a = Fire(0, {static_cast<int32_t>(wParam), static_cast<int32_t>(lParam)});
      return a.answered ? a.result : 0;
    }
    default:
      return DefaultProc(msg, wParam, lParam);
  }
}

}  // namespace comp
