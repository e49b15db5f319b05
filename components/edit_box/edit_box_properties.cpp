// EditBox property slots: a written property applied to the control, a read one taken
// from it, and the whole blob.
#include "components/edit_box/edit_box.h"

#include <commctrl.h>

#include <algorithm>

#include "components/property_data.h"

namespace comp {

int32_t EditBox::PropertyChanged(int32_t index, const rt::PropertyData& v) {
  int32_t i = static_cast<int32_t>(v.value);
  // A changed value of these styles takes a re-creation.
  auto recreateOn = [](int32_t& field, int32_t value) {
    if (field == value) return 0;
    field = value;
    return 1;
  };
  switch (index) {
    case PContent:
      data_.content = TextOfData(v);
      suppressChange_ = true;
      SetWindowTextA(hwnd(), data_.content.c_str());
      suppressChange_ = false;
      SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), EN_CHANGE),
                   reinterpret_cast<LPARAM>(hwnd()));
      return 0;
    case PBorder:
      data_.border = ClampChoice(i, 5);
      ApplyBorderStyle(hwnd(), data_.border);
      if (HWND spin = spinWindow()) {
        LONG ex = GetWindowLongA(spin, GWL_EXSTYLE) & ~WS_EX_STATICEDGE;
        if (data_.border == 0 || data_.border == 1 || data_.border == 3) ex |= WS_EX_STATICEDGE;
        SetWindowLongA(spin, GWL_EXSTYLE, ex);
        SetWindowPos(spin, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      }
      return 0;
    case PTextColor:
      data_.textColor = v.value;
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case PBackColor:
      data_.backColor = v.value;
      brush_.reset(CreateSolidBrush(ResolveColor(data_.backColor)));
      RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
      return 0;
    case PFont:
      data_.font = BytesOfData(v);
      font_.Set(data_.font);
      ApplyFont();
      return 0;
    case PHideSelection: {
      int32_t changed = recreateOn(data_.hideSelection, i ? 1 : 0);
      return designMode_ ? 0 : changed;
    }
    case PMultiLine: return recreateOn(data_.multiLine, i ? 1 : 0);
    case PScrollBars: return recreateOn(data_.scrollBars, ClampChoice(i, 3));
    case PAlignment: return recreateOn(data_.alignment, ClampChoice(i, 2));
    case PCaseConversion: return recreateOn(data_.caseConversion, ClampChoice(i, 2));
    case PSpinType: return recreateOn(data_.spinType, ClampChoice(i, 2));
    case PMaxLength:
      data_.maxLength = i < 0 ? 0 : i;
      SendMessageA(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(data_.maxLength), 0);
      return 0;
    case PInputMode:
      data_.inputMode = ClampChoice(i, 11);
      SetPasswordChar(data_.inputMode == InputPassword);
      SendMessageA(hwnd(), EM_SETREADONLY, data_.inputMode == InputReadOnly, 0);
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case PPasswordChar: {
      const unsigned char* t = reinterpret_cast<const unsigned char*>(TextOfData(v));
      if (t[0] >= 0x81 && t[1] != 0)
        data_.passwordChar = static_cast<int16_t>((t[0] << 8) | t[1]);
      else
        data_.passwordChar = static_cast<int16_t>(t[0]);
      if (data_.inputMode == InputPassword) SetPasswordChar(true);
      return 0;
    }
    case PSpinMin: case PSpinMax:
      (index == PSpinMin ? data_.spinMin : data_.spinMax) = i;
      if (HWND spin = spinWindow())
        SendMessageA(spin, UDM_SETRANGE32, std::min(data_.spinMin, data_.spinMax),
                     std::max(data_.spinMin, data_.spinMax));
      return 0;
    case PSelStart: case PSelLength:
      (index == PSelStart ? data_.selStart : data_.selLength) = NonNegativeOrMinusOne(i);
      SetSelection(data_.selStart, data_.selLength);
      return 0;
    case PSelText:
      SendMessageA(hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(TextOfData(v)));
      return 0;
    case PDataSource: data_.dataSource = TextOfData(v); return 0;
    case PDataField: data_.dataField = TextOfData(v); return 0;
    default: return 0;
  }
}

bool EditBox::GetProperty(int32_t index, rt::PropertyData* v) {
  DWORD start = 0, end = 0;
  switch (index) {
    case PContent:
      scratch_ = designMode_ ? data_.content : WindowText();
      PutText(v, scratch_);
      return true;
    case PPasswordChar: {
      uint16_t code = static_cast<uint16_t>(data_.passwordChar);
      scratch_.clear();
      if (code > 0xFF) scratch_ += static_cast<char>(code >> 8);
      if (code) scratch_ += static_cast<char>(code & 0xFF);
      PutText(v, scratch_);
      return true;
    }
    case PSelStart: case PSelLength: case PSelText: {
      SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      if (index == PSelStart) PutInt(v, static_cast<int32_t>(start));
      if (index == PSelLength) PutInt(v, static_cast<int32_t>(end - start));
      if (index == PSelText) {
        // Selection positions count characters; cut the wide text, then convert.
        int n = GetWindowTextLengthW(hwnd());
        std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
        n = GetWindowTextW(hwnd(), &wide[0], n + 1);
        wide.resize(static_cast<size_t>(n > 0 ? n : 0));
        if (start > wide.size()) start = static_cast<DWORD>(wide.size());
        if (end > wide.size()) end = static_cast<DWORD>(wide.size());
        std::wstring piece = end > start ? wide.substr(start, end - start) : std::wstring();
        int bytes = WideCharToMultiByte(CP_ACP, 0, piece.c_str(), static_cast<int>(piece.size()), nullptr, 0,
                                        nullptr, nullptr);
        scratch_.assign(static_cast<size_t>(bytes), '\0');
        if (bytes)
          WideCharToMultiByte(CP_ACP, 0, piece.c_str(), static_cast<int>(piece.size()), &scratch_[0], bytes,
                              nullptr, nullptr);
        PutText(v, scratch_);
      }
      return true;
    }
    default: return PutStoredField(data_, kProperties, index, v);
  }
}

std::vector<uint8_t> EditBox::WriteProperties() {
  if (!designMode_) data_.content = WindowText();
  return data_.Write();
}

}  // namespace comp
