// Label (kernel type 10): a window of the runtime's own that paints its caption,
// background (colour, picture or gradient) and border itself.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component.h"
#include "components/component_type.h"
#include "components/control_style.h"
#include "formats/records/label_data.h"
#include "components/picture.h"
#include "runtime/program_image.h"

namespace comp {

extern const rt::ComponentTypeInfo kLabelType;

// Colour of a gradient over `count` colours at position t of a span of length span.
COLORREF GradientColorAt(const COLORREF* colors, int count, int t, int span);

// Runtime message whose arguments go to the label's event 0.
constexpr UINT kLabelEventMessage = 0x8075;

class Label : public StoredComponent<LabelData> {
 public:
  static Label* Create(const CreateArgs& args);
  static void VisitStoredTexts(LabelData& data, rt::TextVisitorFn visitor, void* userData);

  // The label's own properties (components/property_list.h).  The three border and
  // three background colours are elements of arrays, handed out by GetProperty itself.
#define COMP_LABEL_PROPERTIES(X, C)                                                                                 \
  X(Caption, rt::KindText, caption) X(Effect, rt::KindChoice, effect) X(Border, rt::KindChoice, border)             \
  X(GradientBorderWidth, rt::KindInteger, gradientBorderWidth)                                                      \
  C(BorderColor1, rt::KindColor) C(BorderColor2, rt::KindColor) C(BorderColor3, rt::KindColor)                      \
  X(Font, rt::KindFont, font) X(TextColor, rt::KindTextColor, textColor) X(BackColor, rt::KindBackColor, backColor) \
  X(Picture, rt::KindPicture, picture) X(PictureMode, rt::KindChoice, pictureMode)                                  \
  X(GradientBackMode, rt::KindChoice, gradientBackMode)                                                             \
  C(BackColor1, rt::KindColor) C(BackColor2, rt::KindColor) C(BackColor3, rt::KindColor)                            \
  X(HorzAlign, rt::KindChoice, horzAlign) X(WordWrap, rt::KindLogical, wordWrap)                                    \
  X(VertAlign, rt::KindChoice, vertAlign)                                                                           \
  X(DataSource, rt::KindText, dataSource) X(DataField, rt::KindText, dataField)
  COMP_PROPERTIES(LabelData, kOwnPropertyFlags, COMP_LABEL_PROPERTIES);
#undef COMP_LABEL_PROPERTIES

  int32_t PropertyChanged(int32_t index, const rt::PropertyData& value);
  bool GetProperty(int32_t index, rt::PropertyData* value);

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  Label(uint32_t windowId, uint32_t componentId);
  // label_paint.cpp
  void Paint(HDC dc, const RECT& update);
  void PaintGradientFrame(HDC dc, RECT* area);
  bool PaintPicture(HDC dc, const RECT& area, HRGN region);
  bool PaintGradient(HDC dc, const RECT& area, const RECT& update);
  void PaintCaption(HDC dc, const RECT& area);

  ComponentFont font_;
  Picture picture_;
  bool pictureDecoded_ = false;
};

}  // namespace comp
