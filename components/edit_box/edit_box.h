// EditBox (kernel type 5): the system edit control with typed input modes, colours,
// fonts and an optional up-down control beside it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component.h"
#include "components/component_type.h"
#include "components/control_style.h"
#include "formats/records/edit_box_data.h"
#include "runtime/program_image.h"

namespace comp {

extern const rt::ComponentTypeInfo kEditBoxType;

// Input modes (InputMode).
enum EditInputMode : int32_t {
  InputNormal, InputReadOnly, InputPassword, InputDigits, InputDecimal, InputByte, InputShort, InputInteger,
  InputLong, InputFloat, InputDouble, InputDateTime
};
// Typing filter: false when the character is refused in the mode.
bool EditAcceptsChar(int32_t mode, unsigned ch);
// The text the box shows after losing the focus in the mode.
std::string NormaliseEditText(int32_t mode, const std::string& text);

class EditBox;

// The up-down control beside an edit box: its notifications come back reflected from
// the parent window and are handed to the edit box.
class EditSpin : public rt::WindowObject {
 public:
  explicit EditSpin(EditBox* owner) : owner_(owner) {}
  void Disown() { owner_ = nullptr; }
  bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  EditBox* owner_;
};

// edit_box.cpp: creation; edit_box_properties.cpp: the property slots;
// edit_box_messages.cpp: messages and notifications.
class EditBox : public StoredComponent<EditBoxData> {
 public:
  static EditBox* Create(const CreateArgs& args);
  static void VisitStoredTexts(EditBoxData& data, rt::TextVisitorFn visitor, void* userData);

  // The edit box's own properties (components/property_list.h).  The content, the
  // password character and the selection are worked out by GetProperty itself.
#define COMP_EDIT_BOX_PROPERTIES(X, C)                                                                              \
  C(Content, rt::KindText) X(Border, rt::KindChoice, border)                                                        \
  X(TextColor, rt::KindTextColor, textColor) X(BackColor, rt::KindBackColor, backColor) X(Font, rt::KindFont, font) \
  X(HideSelection, rt::KindLogical, hideSelection) X(MaxLength, rt::KindInteger, maxLength)                         \
  X(MultiLine, rt::KindLogical, multiLine) X(ScrollBars, rt::KindChoice, scrollBars)                                \
  X(Alignment, rt::KindChoice, alignment) X(InputMode, rt::KindChoice, inputMode) C(PasswordChar, rt::KindText)     \
  X(CaseConversion, rt::KindChoice, caseConversion)                                                                 \
  X(SpinType, rt::KindChoice, spinType) X(SpinMin, rt::KindInteger, spinMin) X(SpinMax, rt::KindInteger, spinMax)   \
  C(SelStart, rt::KindInteger) C(SelLength, rt::KindInteger) C(SelText, rt::KindText)                               \
  X(DataSource, rt::KindText, dataSource) X(DataField, rt::KindText, dataField)
  COMP_PROPERTIES(EditBoxData, kOwnPropertyFlags, COMP_EDIT_BOX_PROPERTIES);
#undef COMP_EDIT_BOX_PROPERTIES

  int32_t PropertyChanged(int32_t index, const rt::PropertyData& value);
  bool GetProperty(int32_t index, rt::PropertyData* value);
  // The property blob, with the content as the window holds it.
  std::vector<uint8_t> WriteProperties();
  bool WantsKey(int32_t virtualKey) const;
  HWND spinWindow() const;

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  // An arrow of the up-down control proposes a change of delta.
  void OnSpin(int delta);

 private:
  EditBox(uint32_t windowId, uint32_t componentId);
  void ApplyFont();
  void CreateSpin(HWND parent, int32_t controlId);
  void PlaceSpin(const WINDOWPOS* pos);
  void SetSelection(int32_t start, int32_t length);
  void SetPasswordChar(bool on);
  void Normalise();
  std::string WindowText() const;
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  void OnNcPaint();

  ComponentFont font_;
  rt::GdiObject<HBRUSH> brush_;
  EditSpin* spin_ = nullptr;  // owned by its window
  int lineHeight_ = 0;
  bool designMode_ = false;
  bool suppressChange_ = false;
  std::string scratch_;  // text handed out by GetProperty
};

}  // namespace comp
