// EditBox creation: the type entry, the control and its up-down control, and the
// settings that creation and property changes share.
#include "components/edit_box/edit_box.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "components/kernel_library.h"

namespace comp {
namespace {

constexpr int kSpinWidth = 18;
constexpr int kSpinIdOffset = 4;

}  // namespace

const rt::ComponentTypeInfo kEditBoxType =
    ComponentTypeEntry<EditBox>("编辑框", "EditBox", kTypeLibraryBit | rt::TypeIsControl);

void EditBox::VisitStoredTexts(EditBoxData& d, rt::TextVisitorFn visitor, void* userData) {
  VisitTexts(visitor, userData, &d.font, {{&d.content, 0}, {&d.dataSource, 0}, {&d.dataField, 0}});
}

bool EditSpin::OnReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
  if (msg != WM_NOTIFY || !owner_) return false;
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
  const NMUPDOWN* change = reinterpret_cast<const NMUPDOWN*>(lParam);
  owner_->OnSpin(change->iDelta);
  *result = 1;  // the edit box keeps the value; the control's own position stays
  return true;
}

EditBox::EditBox(uint32_t windowId, uint32_t componentId) : StoredComponent(KernelLink(), windowId, componentId) {}

EditBox* EditBox::Create(const CreateArgs& a) {
  if (a.blobSize < 0) return nullptr;
  std::unique_ptr<EditBox> box(new EditBox(a.windowId, a.componentId));
  box->designMode_ = a.designMode;
  EditBoxData& d = box->data_;
  if (!d.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  DWORD ws = a.style | WS_CHILD | WS_CLIPSIBLINGS;
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
  if (!box->CreateControl("EDIT", d.content.c_str(), ws, a)) return nullptr;
  HWND hwnd = box->hwnd();
  box->brush_.reset(CreateSolidBrush(ResolveColor(d.backColor)));
  box->font_.Set(d.font);
  box->ApplyFont();
  SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(d.maxLength), 0);
  if (d.inputMode == InputPassword) box->SetPasswordChar(true);
  if (!d.multiLine && d.spinType != 0) box->CreateSpin(a.parent, a.controlId);
  box->SetSelection(d.selStart, d.selLength);
  ApplyBorderStyle(hwnd, d.border);
  return box.release();
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
  SIZE sample = {};
  {
    rt::WindowDC screen(nullptr);
    rt::SelectedObject font(screen.get(), font_.handle());
    GetTextExtentPoint32A(screen.get(), "W", 1, &sample);
  }
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

}  // namespace comp
