#include "components/edit_box.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "components/convert_texts.h"
#include "components/kernel_library.h"
#include "runtime/events.h"

namespace comp {

// The up-down control beside an edit box: its notifications come back reflected from
// the parent window and are handed to the edit box.
class EditSpin : public rt::WindowObject {
 public:
  explicit EditSpin(EditBox* owner) : owner_(owner) {}
  void Disown() { owner_ = nullptr; }
  bool OnReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) override {
    if (msg != WM_NOTIFY || !owner_) return false;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    const NMUPDOWN* change = reinterpret_cast<const NMUPDOWN*>(lParam);
    owner_->OnSpin(change->iDelta);
    *result = 1;  // the edit box keeps the value; the control's own position stays
    return true;
  }

 private:
  EditBox* owner_;
};

namespace {

constexpr int kSpinWidth = 18;
constexpr int kSpinIdOffset = 4;

enum EditProperty : int32_t {
  PContent, PBorder, PTextColor, PBackColor, PFont, PHideSelection, PMaxLength, PMultiLine, PScrollBars,
  PAlignment, PInputMode, PPasswordChar, PCaseConversion, PSpinType, PSpinMin, PSpinMax, PSelStart, PSelLength,
  PSelText, PDataSource, PDataField, PCount
};

const rt::PropertyInfo kEditBoxProperties[] = {
    COMP_COMMON_PROPERTIES,       COMP_PROPERTY(KindText),      COMP_PROPERTY(KindChoice),
    COMP_PROPERTY(KindTextColor), COMP_PROPERTY(KindBackColor), COMP_PROPERTY(KindFont),
    COMP_PROPERTY(KindLogical),   COMP_PROPERTY(KindInteger),   COMP_PROPERTY(KindLogical),
    COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindChoice),
    COMP_PROPERTY(KindText),      COMP_PROPERTY(KindChoice),    COMP_PROPERTY(KindChoice),
    COMP_PROPERTY(KindInteger),   COMP_PROPERTY(KindInteger),   COMP_PROPERTY(KindInteger),
    COMP_PROPERTY(KindInteger),   COMP_PROPERTY(KindText),      COMP_PROPERTY(KindText),
    COMP_PROPERTY(KindText),
};
static_assert(sizeof(kEditBoxProperties) / sizeof(kEditBoxProperties[0]) == 8 + PCount, "edit box property table");

void* __stdcall CreateEditBox(const uint8_t* blob, int32_t blobSize, uint32_t style, HWND parent, int32_t controlId,
                              HMENU, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t windowId,
                              uint32_t componentId, HWND, int32_t designMode) {
  return EditBox::Create(KernelLink(), blob, blobSize, style, parent, controlId, left, top, width, height, windowId,
                         componentId, designMode != 0);
}
int32_t __stdcall EditBoxPropertyChanged(void* object, int32_t index, rt::PropertyData* data, const char**) {
  return object && data ? static_cast<EditBox*>(object)->PropertyChanged(index, data) : 0;
}
HGLOBAL __stdcall EditBoxGetAllProperties(void* object) {
  return object ? static_cast<EditBox*>(object)->GetAllProperties() : nullptr;
}
int32_t __stdcall EditBoxGetProperty(void* object, int32_t index, rt::PropertyData* data) {
  return object && data && static_cast<EditBox*>(object)->GetProperty(index, data) ? 1 : 0;
}
int32_t __stdcall EditBoxWantsKey(void* object, int32_t key) {
  return object && static_cast<EditBox*>(object)->WantsKey(key) ? 1 : 0;
}

}  // namespace

const rt::ComponentTypeInfo kEditBoxType = {
    "编辑框", "EditBox", nullptr, 0, nullptr, 0x80000040, 0, 0, nullptr,
    sizeof(kEditBoxProperties) / sizeof(kEditBoxProperties[0]), kEditBoxProperties, &EditBoxGetInterface, 0,
    nullptr};

static HGLOBAL __stdcall EditBoxConvertTexts(const uint8_t* blob, int32_t size, rt::TextVisitorFn visitor,
                                             void* userData) {
  return ConvertBlobTexts<EditBoxData>(blob, size, [visitor, userData](EditBoxData& d) {
    VisitTexts(visitor, userData, &d.font, {{&d.content, 0}, {&d.dataSource, 0}, {&d.dataField, 0}});
  });
}

void* __stdcall EditBoxGetInterface(int32_t slot) {
  switch (slot) {
    case rt::SlotCreateComponent: return reinterpret_cast<void*>(&CreateEditBox);
    case rt::SlotPropertyChanged: return reinterpret_cast<void*>(&EditBoxPropertyChanged);
    case rt::SlotGetAllProperties: return reinterpret_cast<void*>(&EditBoxGetAllProperties);
    case rt::SlotGetProperty: return reinterpret_cast<void*>(&EditBoxGetProperty);
    case rt::SlotWantsKey: return reinterpret_cast<void*>(&EditBoxWantsKey);
    case rt::SlotConvertTexts: return reinterpret_cast<void*>(&EditBoxConvertTexts);
    default: return nullptr;
  }
}

EditBox* EditBox::Create(const rt::LibraryLink& link, const uint8_t* blob, int32_t blobSize, uint32_t style,
                         HWND parent, int32_t controlId, int32_t left, int32_t top, int32_t width, int32_t height,
                         uint32_t windowId, uint32_t componentId, bool designMode) {
  if (blobSize < 0) return nullptr;
  EditBox* box = new EditBox(link, windowId, componentId);
  box->designMode_ = designMode;
  EditBoxData& d = box->data_;
  if (!d.Read(blob, static_cast<size_t>(blobSize))) {
    delete box;
    return nullptr;
  }
  DWORD ws = style | WS_CHILD | WS_CLIPSIBLINGS;
  if (!d.hideSelection) ws |= ES_NOHIDESEL;
  if (d.multiLine) {
    ws |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (d.scrollBars == 1 || d.scrollBars == 3) ws |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (d.scrollBars == 2 || d.scrollBars == 3) ws |= WS_VSCROLL;
  } else {
    ws |= ES_AUTOHSCROLL;
  }
  if (d.alignment == 1) ws |= ES_CENTER;
  if (d.alignment == 2) ws |= ES_RIGHT;
  if (d.caseConversion == 1) ws |= ES_LOWERCASE;
  if (d.caseConversion == 2) ws |= ES_UPPERCASE;
  if (d.inputMode == InputReadOnly) ws |= ES_READONLY;
  if (d.inputMode == InputPassword) ws |= ES_PASSWORD;
  HWND hwnd = CreateWindowExA(0, "EDIT", d.content.c_str(), ws, left, top, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(controlId)), GetModuleHandleA(nullptr),
                              nullptr);
  if (!hwnd || !box->SubclassWindow(hwnd)) {
    if (hwnd) DestroyWindow(hwnd);
    delete box;
    return nullptr;
  }
  box->brush_.reset(CreateSolidBrush(ResolveColor(d.backColor)));
  box->font_.Set(d.font);
  box->ApplyFont();
  SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(d.maxLength), 0);
  if (d.inputMode == InputPassword) box->SetPasswordChar(true);
  if (!d.multiLine && d.spinType != 0) box->CreateSpin(parent, controlId);
  box->SetSelection(d.selStart, d.selLength);
  ApplyBorderStyle(hwnd, d.border);
  return box;
}

void EditBox::CreateSpin(HWND parent, int32_t controlId) {
  INITCOMMONCONTROLSEX init = {sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&init);
  DWORD ex = (data_.border == 0 || data_.border == 1 || data_.border == 3) ? WS_EX_STATICEDGE : 0;
  DWORD ws = WS_CHILD | WS_CLIPSIBLINGS;
  if (!IsWindowEnabled(hwnd())) ws |= WS_DISABLED;
  HWND spin = CreateWindowExA(ex, UPDOWN_CLASSA, nullptr, ws, 0, 0, kSpinWidth, 10, parent,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(controlId + kSpinIdOffset)),
                              GetModuleHandleA(nullptr), nullptr);
  EditSpin* object = spin ? new EditSpin(this) : nullptr;
  if (!spin || !object->SubclassWindow(spin)) {
    delete object;  // destroys the window as well
    if (spin && IsWindow(spin)) DestroyWindow(spin);
    data_.spinType = 0;
    return;
  }
  spin_ = object;
  SendMessageA(spin, UDM_SETRANGE32, std::min(data_.spinMin, data_.spinMax), std::max(data_.spinMin, data_.spinMax));
  PlaceSpin(nullptr);
  if (IsWindowVisible(hwnd())) ShowWindow(spin, SW_SHOWNA);
}

HWND EditBox::spinWindow() const { return spin_ ? spin_->hwnd() : nullptr; }

// Keeps the up-down 18 pixels wide right of the box, same top and height, directly
// above it in the z-order, and shown or hidden with it.
void EditBox::PlaceSpin(const WINDOWPOS* pos) {
  HWND spin = spinWindow();
  if (!spin) return;
  RECT r;
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  HWND above = GetWindow(hwnd(), GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE;
  HWND after = above ? above : HWND_TOP;
  if (above == spin) flags |= SWP_NOZORDER;
  if (pos && (pos->flags & SWP_SHOWWINDOW)) flags |= SWP_SHOWWINDOW;
  if (pos && (pos->flags & SWP_HIDEWINDOW)) flags |= SWP_HIDEWINDOW;
  SetWindowPos(spin, after, r.right, r.top, kSpinWidth, r.bottom - r.top, flags);
}

void EditBox::ApplyFont() {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font_.handle());
  SIZE sample = {};
  GetTextExtentPoint32A(screen, "W", 1, &sample);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  lineHeight_ = sample.cy;
  if (!data_.multiLine) {
    RECT r;
    GetWindowRect(hwnd(), &r);
    int wanted = sample.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    if (r.bottom - r.top < wanted)
      SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, wanted, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), TRUE);
  if (!data_.multiLine)
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void EditBox::SetSelection(int32_t start, int32_t length) {
  int len = GetWindowTextLengthW(hwnd());
  if (length == -1) {
    SendMessageA(hwnd(), EM_SETSEL, 0, -1);
  } else if (start == -1) {
    SendMessageA(hwnd(), EM_SETSEL, len, len);
  } else {
    SendMessageA(hwnd(), EM_SETSEL, start, start + length);
  }
  SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
}

void EditBox::SetPasswordChar(bool on) {
  wchar_t wide = 0;
  if (on && data_.passwordChar != 0) {
    uint16_t code = static_cast<uint16_t>(data_.passwordChar);
    char bytes[2];
    int n = 0;
    if (code > 0xFF) bytes[n++] = static_cast<char>(code >> 8);
    bytes[n++] = static_cast<char>(code & 0xFF);
    MultiByteToWideChar(CP_ACP, 0, bytes, n, &wide, 1);
  }
  SendMessageW(hwnd(), EM_SETPASSWORDCHAR, wide, 0);
}

std::string EditBox::WindowText() const {
  int n = GetWindowTextLengthA(hwnd());
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd(), &s[0], n + 1);
  s.resize(static_cast<size_t>(n > 0 ? n : 0));
  return s;
}

int32_t EditBox::PropertyChanged(int32_t index, const rt::PropertyData* v) {
  int32_t i = static_cast<int32_t>(v->value);
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
      data_.textColor = v->value;
      InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case PBackColor:
      data_.backColor = v->value;
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
    case PBorder: PutInt(v, data_.border); return true;
    case PTextColor: PutInt(v, static_cast<int32_t>(data_.textColor)); return true;
    case PBackColor: PutInt(v, static_cast<int32_t>(data_.backColor)); return true;
    case PFont: PutBytes(v, data_.font); return true;
    case PHideSelection: PutInt(v, data_.hideSelection); return true;
    case PMaxLength: PutInt(v, data_.maxLength); return true;
    case PMultiLine: PutInt(v, data_.multiLine); return true;
    case PScrollBars: PutInt(v, data_.scrollBars); return true;
    case PAlignment: PutInt(v, data_.alignment); return true;
    case PInputMode: PutInt(v, data_.inputMode); return true;
    case PPasswordChar: {
      uint16_t code = static_cast<uint16_t>(data_.passwordChar);
      scratch_.clear();
      if (code > 0xFF) scratch_ += static_cast<char>(code >> 8);
      if (code) scratch_ += static_cast<char>(code & 0xFF);
      PutText(v, scratch_);
      return true;
    }
    case PCaseConversion: PutInt(v, data_.caseConversion); return true;
    case PSpinType: PutInt(v, data_.spinType); return true;
    case PSpinMin: PutInt(v, data_.spinMin); return true;
    case PSpinMax: PutInt(v, data_.spinMax); return true;
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
    case PDataSource: PutText(v, data_.dataSource); return true;
    case PDataField: PutText(v, data_.dataField); return true;
    default: return false;
  }
}

HGLOBAL EditBox::GetAllProperties() {
  if (!designMode_) data_.content = WindowText();
  std::vector<uint8_t> blob = data_.Write();
  return BlobToGlobal(blob.data(), blob.size());
}

bool EditBox::WantsKey(int32_t key) const {
  return key == VK_RETURN && data_.multiLine && !(GetWindowLongA(hwnd(), GWL_STYLE) & ES_READONLY);
}

void EditBox::Normalise() {
  if (data_.inputMode < InputByte) return;
  std::string text = WindowText();
  std::string normal = NormaliseEditText(data_.inputMode, text);
  if (normal == text) return;
  DWORD start = 0, end = 0;
  SendMessageA(hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SetWindowTextA(hwnd(), normal.c_str());
  SendMessageA(hwnd(), EM_SETSEL, start, start);
}

void EditBox::OnSpin(int delta) {
  if (delta == 0) return;
  int direction = delta > 0 ? 1 : -1;
  if (data_.spinType == 2) {
    Fire(1, {direction});
    return;
  }
  if (data_.spinType != 1 || !IsWindowEnabled(hwnd()) || !IsWindowVisible(hwnd())) return;
  int lower = 0, upper = 0;
  SendMessageA(spinWindow(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  // The integer value of the text, read as the long-integer mode reads it.
  std::string digits = NormaliseEditText(InputLong, WindowText());
  int64_t value = std::strtoll(digits.c_str(), nullptr, 10);
  value += direction;
  if (value > upper) value = lower;
  if (value < lower) value = upper;
  SetWindowTextA(hwnd(), std::to_string(value).c_str());
  SendMessageA(hwnd(), EM_SETSEL, 0, -1);
  SendMessageA(hwnd(), EM_SCROLLCARET, 0, 0);
  SetFocus(hwnd());
}

LRESULT EditBox::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  LRESULT r = DefaultProc(WM_NCCALCSIZE, wParam, lParam);
  if (data_.multiLine || lineHeight_ <= 0) return r;
  RECT* rc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  int h = rc->bottom - rc->top;
  if (h > lineHeight_) {
    rc->top += (h - lineHeight_) / 2;
    rc->bottom = rc->top + lineHeight_;
  }
  return r;
}

// Fills the part of the non-client area inside the border that the narrowed client
// area leaves, with the background brush.
void EditBox::OnNcPaint() {
  RECT window;
  GetWindowRect(hwnd(), &window);
  RECT inner = {0, 0, window.right - window.left, window.bottom - window.top};
  DefaultProc(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&inner));
  RECT client;
  GetClientRect(hwnd(), &client);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  HDC dc = GetWindowDC(hwnd());
  if (!dc) return;
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &inner, brush_.get());
  ReleaseDC(hwnd(), dc);
}

LRESULT EditBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CHAR:
      if (!EditAcceptsChar(data_.inputMode, static_cast<unsigned>(wParam))) return 0;
      break;
    case WM_SETFOCUS: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      Fire(rt::EventGotFocus);
      return r;
    }
    case WM_KILLFOCUS: {
      Normalise();
      LRESULT r = DefaultProc(msg, wParam, lParam);
      if (IsWindow(hwnd())) Fire(rt::EventLostFocus);
      return r;
    }
    case WM_COMMAND:
      // The change notification that a write of Content sends to the box itself.
      if (reinterpret_cast<HWND>(lParam) == hwnd() && HIWORD(wParam) == EN_CHANGE) {
        Fire(0);
        return 0;
      }
      break;
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      if (!data_.multiLine) OnNcPaint();
      return r;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.get());
      return 1;
    }
    case WM_WINDOWPOSCHANGED: {
      LRESULT r = DefaultProc(msg, wParam, lParam);
      PlaceSpin(reinterpret_cast<const WINDOWPOS*>(lParam));
      return r;
    }
    case WM_ENABLE:
      if (HWND spin = spinWindow()) EnableWindow(spin, static_cast<BOOL>(wParam));
      break;
    case WM_DESTROY:
      if (spin_) {
        spin_->Disown();
        HWND spin = spin_->hwnd();
        spin_ = nullptr;
        if (spin) DestroyWindow(spin);
      }
      break;
    default:
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

bool EditBox::OnReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        if (!suppressChange_) Fire(0);
        *result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, ResolveColor(data_.textColor));
      SetBkColor(dc, ResolveColor(data_.backColor));
      *result = reinterpret_cast<LRESULT>(brush_.get());
      return true;
    }
    default:
      (void)lParam;
      return false;
  }
}

}  // namespace comp
