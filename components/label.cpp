#include "components/label.h"

#include "components/convert_texts.h"
#include "components/kernel_library.h"

namespace comp {
namespace {

constexpr char kLabelClass[] = "WTLabel";

enum LabelProperty : int32_t {
  PCaption, PEffect, PBorder, PGradientBorderWidth, PBorderColor1, PBorderColor2, PBorderColor3, PFont,
  PTextColor, PBackColor, PPicture, PPictureMode, PGradientBackMode, PBackColor1, PBackColor2, PBackColor3,
  PHorzAlign, PWordWrap, PVertAlign, PDataSource, PDataField, PCount
};

const rt::PropertyInfo kLabelProperties[] = {
    COMP_COMMON_PROPERTIES,
    COMP_PROPERTY(KindText),      COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindChoice),
    COMP_PROPERTY(KindInteger),   COMP_PROPERTY(KindColor),     COMP_PROPERTY(KindColor),
    COMP_PROPERTY(KindColor),     COMP_PROPERTY(KindFont),      COMP_PROPERTY(KindTextColor),
    COMP_PROPERTY(KindBackColor), COMP_PROPERTY(KindPicture),   COMP_PROPERTY(KindChoice),
    COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindColor),     COMP_PROPERTY(KindColor),
    COMP_PROPERTY(KindColor),     COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindLogical),
    COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindText),      COMP_PROPERTY(KindText),
};
static_assert(sizeof(kLabelProperties) / sizeof(kLabelProperties[0]) == 8 + PCount, "label property table");

void* __stdcall CreateLabel(const uint8_t* blob, int32_t blobSize, uint32_t style, HWND parent, int32_t controlId,
                            HMENU, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId,
                            uint32_t componentId, HWND, int32_t) {
  return Label::Create(KernelLink(), blob, blobSize, style, parent, controlId, left, top, width, height, windowId,
                       componentId);
}
int32_t __stdcall LabelPropertyChanged(void* object, int32_t index, rt::PropertyData* data, const char**) {
  return object && data ? static_cast<Label*>(object)->PropertyChanged(index, data) : 0;
}
HGLOBAL __stdcall LabelGetAllProperties(void* object) {
  return object ? static_cast<Label*>(object)->GetAllProperties() : nullptr;
}
int32_t __stdcall LabelGetProperty(void* object, int32_t index, rt::PropertyData* data) {
  return object && data && static_cast<Label*>(object)->GetProperty(index, data) ? 1 : 0;
}

}  // namespace

const rt::ComponentTypeInfo kLabelType = {
    "标签", "Label", nullptr, 0, nullptr, 0x84012040, 0, 0, nullptr,
    sizeof(kLabelProperties) / sizeof(kLabelProperties[0]), kLabelProperties, &LabelGetInterface, 0, nullptr};

static HGLOBAL __stdcall LabelConvertTexts(const uint8_t* blob, int32_t size, rt::TextVisitorFn visitor,
                                           void* userData) {
  return ConvertBlobTexts<LabelData>(blob, size, [visitor, userData](LabelData& d) {
    VisitTexts(visitor, userData, &d.font, {{&d.caption, 0}, {&d.dataSource, 0}, {&d.dataField, 0}});
  });
}

void* __stdcall LabelGetInterface(int32_t slot) {
  switch (slot) {
    case rt::SlotCreateComponent: return reinterpret_cast<void*>(&CreateLabel);
    case rt::SlotPropertyChanged: return reinterpret_cast<void*>(&LabelPropertyChanged);
    case rt::SlotGetAllProperties: return reinterpret_cast<void*>(&LabelGetAllProperties);
    case rt::SlotGetProperty: return reinterpret_cast<void*>(&LabelGetProperty);
    case rt::SlotConvertTexts: return reinterpret_cast<void*>(&LabelConvertTexts);
    default: return nullptr;
  }
}

Label* Label::Create(const rt::LibraryLink& link, const uint8_t* blob, int32_t blobSize, uint32_t style,
                     HWND parent, int32_t controlId, int32_t left, int32_t top, int32_t width, int32_t height,
                     uint32_t windowId, uint32_t componentId) {
  if (blobSize < 0) return nullptr;
  LabelData data;
  if (!data.Read(blob, static_cast<size_t>(blobSize))) return nullptr;
  if (!RegisterObjectClass(kLabelClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                           nullptr))
    return nullptr;
  Label* label = new Label(link, windowId, componentId);
  label->data_ = std::move(data);
  label->font_.Set(label->data_.font);
  HWND hwnd = label->CreateObjectWindow(0, kLabelClass, label->data_.caption.c_str(),
                                        style | WS_CHILD | WS_CLIPSIBLINGS, left, top, width, height, parent,
                                        reinterpret_cast<HMENU>(static_cast<intptr_t>(controlId)));
  if (!hwnd) {
    delete label;
    return nullptr;
  }
  ApplyBorderStyle(hwnd, label->data_.border);
  return label;
}

int32_t Label::PropertyChanged(int32_t index, const rt::PropertyData* v) {
  int32_t i = static_cast<int32_t>(v->value);
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
      data_.borderColors[index - PBorderColor1] = v->value;
      break;
    case PFont:
      data_.font = BytesOfData(v);
      font_.Set(data_.font);
      break;
    case PTextColor: data_.textColor = v->value; break;
    case PBackColor: data_.backColor = v->value; break;
    case PPicture:
      data_.picture = BytesOfData(v);
      picture_.Reset();
      pictureDecoded_ = false;
      break;
    case PPictureMode: data_.pictureMode = ClampChoice(i, 2); break;
    case PGradientBackMode: data_.gradientBackMode = ClampChoice(i, 8); break;
    case PBackColor1: case PBackColor2: case PBackColor3:
      data_.backColors[index - PBackColor1] = v->value;
      break;
    case PHorzAlign: data_.horzAlign = ClampChoice(i, 2); break;
    case PWordWrap: data_.wordWrap = v->value ? 1 : 0; break;
    case PVertAlign: data_.vertAlign = ClampChoice(i, 2); break;
    case PDataSource: data_.dataSource = TextOfData(v); break;
    case PDataField: data_.dataField = TextOfData(v); break;
    default: return 0;
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
  return 0;
}

bool Label::GetProperty(int32_t index, rt::PropertyData* v) {
  switch (index) {
    case PCaption: PutText(v, data_.caption); return true;
    case PEffect: PutInt(v, data_.effect); return true;
    case PBorder: PutInt(v, data_.border); return true;
    case PGradientBorderWidth: PutInt(v, data_.gradientBorderWidth); return true;
    case PBorderColor1: case PBorderColor2: case PBorderColor3:
      PutInt(v, static_cast<int32_t>(data_.borderColors[index - PBorderColor1]));
      return true;
    case PFont: PutBytes(v, data_.font); return true;
    case PTextColor: PutInt(v, static_cast<int32_t>(data_.textColor)); return true;
    case PBackColor: PutInt(v, static_cast<int32_t>(data_.backColor)); return true;
    case PPicture: PutBytes(v, data_.picture); return true;
    case PPictureMode: PutInt(v, data_.pictureMode); return true;
    case PGradientBackMode: PutInt(v, data_.gradientBackMode); return true;
    case PBackColor1: case PBackColor2: case PBackColor3:
      PutInt(v, static_cast<int32_t>(data_.backColors[index - PBackColor1]));
      return true;
    case PHorzAlign: PutInt(v, data_.horzAlign); return true;
    case PWordWrap: PutInt(v, data_.wordWrap); return true;
    case PVertAlign: PutInt(v, data_.vertAlign); return true;
    case PDataSource: PutText(v, data_.dataSource); return true;
    case PDataField: PutText(v, data_.dataField); return true;
    default: return false;
  }
}

HGLOBAL Label::GetAllProperties() const {
  std::vector<uint8_t> blob = data_.Write();
  return BlobToGlobal(blob.data(), blob.size());
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
