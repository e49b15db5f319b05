// Button (kernel type 11): the system push button with an optional picture, fires
// event 0 when clicked.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component.h"
#include "components/component_type.h"
#include "formats/records/button_data.h"
#include "components/control_style.h"
#include "components/picture.h"
#include "runtime/program_image.h"

namespace comp {

extern const rt::ComponentTypeInfo kButtonType;

class Button : public StoredComponent<ButtonData> {
 public:
  static Button* Create(const CreateArgs& args);
  static void VisitStoredTexts(ButtonData& data, rt::TextVisitorFn visitor, void* userData);

  // The button's own properties (components/property_list.h).
#define COMP_BUTTON_PROPERTIES(X, C)                                              \
  X(Picture, rt::KindPicture, picture) X(ButtonType, rt::KindChoice, buttonType)  \
  X(Caption, rt::KindText, caption)                                               \
  X(HorzAlign, rt::KindChoice, horzAlign) X(VertAlign, rt::KindChoice, vertAlign) \
  X(Font, rt::KindFont, font)
  COMP_PROPERTIES(ButtonData, kOwnPropertyFlags, COMP_BUTTON_PROPERTIES);
#undef COMP_BUTTON_PROPERTIES

  int32_t PropertyChanged(int32_t index, const rt::PropertyData& value);
  bool GetProperty(int32_t index, rt::PropertyData* value);
  bool IsDefaultButton() const;

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  Button(uint32_t windowId, uint32_t componentId);
  DWORD TypeAndAlignStyles() const;

  ComponentFont font_;
  Picture picture_;
};

}  // namespace comp
