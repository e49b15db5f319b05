// Button (kernel type 11): the system push button with an optional picture, fires
// event 0 when clicked.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "components/component.h"
#include "components/button_data.h"
#include "components/control_style.h"
#include "components/picture.h"
#include "runtime/program_image.h"

namespace comp {

extern const rt::ComponentTypeInfo kButtonType;
void* __stdcall ButtonGetInterface(int32_t slot);

class Button : public Component {
 public:
  static Button* Create(const rt::LibraryLink& link, const uint8_t* blob, int32_t blobSize, uint32_t style,
                        HWND parent, int32_t controlId, int32_t left, int32_t top, int32_t width, int32_t height,
                        uint32_t windowId, uint32_t componentId);

  const ButtonData& data() const { return data_; }
  int32_t PropertyChanged(int32_t index, const rt::PropertyData* value);
  bool GetProperty(int32_t index, rt::PropertyData* value);
  HGLOBAL GetAllProperties() const;
  bool IsDefaultButton() const;

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  Button(const rt::LibraryLink& link, uint32_t windowId, uint32_t componentId)
      : Component(link, windowId, componentId) {}
  DWORD TypeAndAlignStyles() const;

  ButtonData data_;
  ComponentFont font_;
  Picture picture_;
};

}  // namespace comp
