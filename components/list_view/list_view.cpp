// ListView creation, its properties applied to the control, and the operations behind
// the list commands.
#include "components/list_view/list_view.h"
#include "components/control_style.h"
#include "components/list_view/list_view_library.h"

#include <algorithm>
#include <memory>
#include <cstring>

namespace comp {
namespace {

int32_t CheckedImage(int32_t index, HIMAGELIST list) {
  if (index < 0 || !list || index >= ImageList_GetImageCount(list)) return -1;
  return index;
}

}  // namespace

ListView::ListView(uint32_t windowId, uint32_t componentId)
    : StoredComponent(ListViewLibraryLink(), windowId, componentId) {}

// The control shares its image lists (LVS_SHAREIMAGELISTS); they go with the object.
ListView::~ListView() = default;

ListView* ListView::Create(const CreateArgs& a) {
  ListViewData props;
  if (a.blob && a.blobSize > 0 && !props.Read(a.blob, static_cast<size_t>(a.blobSize))) return nullptr;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  const DWORD fullStyle = a.style | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | ListViewStyle(props);
  std::unique_ptr<ListView> view(new ListView(a.windowId, a.componentId));
  view->data_ = std::move(props);
  if (!view->CreateControl(WC_LISTVIEWA, "", fullStyle, a)) return nullptr;
  HWND hwnd = view->hwnd();
  SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ListViewExtendedStyle(view->data_));
  view->ApplyFont();
  view->SetItemImages();
  view->SetStateImages();
  if (view->data_.ReportView()) view->SetHeaderImages(true);
  view->ApplyColours();
  view->ApplyBorder();
  if (view->data_.hotTracking) view->ApplyHotCursor();
  if (view->data_.ReportView()) view->InsertColumns();
  view->InsertItemTable();
  view->ApplySelectedItem();
  return view.release();
}

void ListView::ApplyFont() {
  ComponentFont previous = std::move(font_);  // kept until the control has let go of it
  font_.Set(data_.font);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.handle()), TRUE);
}

void ListView::ApplyColours() {
  SendMessageA(hwnd(), LVM_SETTEXTCOLOR, 0, ResolveColor(data_.textColor));
  SendMessageA(hwnd(), LVM_SETTEXTBKCOLOR, 0, ResolveColor(data_.textBackColor));
  SendMessageA(hwnd(), LVM_SETBKCOLOR, 0, ResolveColor(data_.backColor));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ListView::ApplyBorder() {
  static const DWORD kExtended[6] = {0, WS_EX_CLIENTEDGE, WS_EX_DLGMODALFRAME, WS_EX_STATICEDGE,
                                     WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0};
  const DWORD allExtended = WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME | WS_EX_STATICEDGE;
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_EXSTYLE));
  ex = (ex & ~allExtended) | kExtended[std::clamp(data_.border, 0, 5)];
  SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ex);
  ApplyStyleBit(WS_BORDER, data_.border == 5);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ListView::ApplyStyleBit(DWORD bit, bool on) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd(), GWL_STYLE));
  SetWindowLongPtrA(hwnd(), GWL_STYLE, on ? style | bit : style & ~bit);
}

void ListView::ApplyHotCursor() {
  HCURSOR cursor = LoadCursorA(nullptr, IDC_ARROW);
  if (data_.handCursor) {
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    if (hand) cursor = hand;
  }
  SendMessageA(hwnd(), LVM_SETHOTCURSOR, 0, reinterpret_cast<LPARAM>(cursor));
}

void ListView::SetItemImages() {
  rt::ImageListHandle list = ReadImageListData(data_.images.data(), data_.images.size());
  const int which = data_.viewType == 0 ? LVSIL_NORMAL : LVSIL_SMALL;
  SendMessageA(hwnd(), LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list.get()));
  images_ = std::move(list);  // the previous list is destroyed once the control has let go
}

void ListView::SetStateImages() {
  rt::ImageListHandle list = ReadImageListData(data_.stateImages.data(), data_.stateImages.size());
  SendMessageA(hwnd(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(list.get()));
  stateImages_ = std::move(list);
}

void ListView::SetHeaderImages(bool /*atCreation*/) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd(), LVM_GETHEADER, 0, 0));
  rt::ImageListHandle list = ReadImageListData(data_.headerImages.data(), data_.headerImages.size());
  if (list) ImageList_SetBkColor(list.get(), ResolveColor(kButtonFaceColor));
  if (header) SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list.get()));
  headerImages_ = std::move(list);
}

void ListView::ApplySelectedItem() {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (data_.selectedItem >= 0) {
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd(), LVM_SETITEMSTATE, data_.selectedItem, reinterpret_cast<LPARAM>(&state));
    return;
  }
  const LRESULT first = SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (first >= 0) SendMessageA(hwnd(), LVM_SETITEMSTATE, first, reinterpret_cast<LPARAM>(&state));
}

void ListView::InsertColumns() {
  std::vector<ListColumn> columns;
  ParseColumnTable(data_.columns, &columns);  // the complete records of a cut-off table still count
  static const int kAlign[3] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT};
  for (size_t i = 0; i < columns.size(); ++i) {
    ListColumn& c = columns[i];
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = kAlign[std::clamp(c.alignment, 0, 2)];
    if (c.bitmapOnRight) column.fmt |= LVCFMT_BITMAP_ON_RIGHT;
    if (c.image != -1) {
      column.mask |= LVCF_IMAGE;
      column.fmt |= LVCFMT_IMAGE;
      column.iImage = c.image;
    }
    column.cx = c.width;
    column.pszText = &c.caption[0];
    SendMessageA(hwnd(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void ListView::InsertItemTable() {
  std::vector<ListItemRecord> items;
  ParseItemTable(data_.items, &items);
  tips_.clear();
  int32_t last = -1;
  int32_t column = 0;
  for (ListItemRecord& record : items) {
    LVITEMA item = {};
    item.pszText = &record.text[0];
    if (record.furtherColumn) {
      if (last < 0) continue;
      item.mask = LVIF_TEXT | LVIF_IMAGE;
      item.iItem = last;
      item.iSubItem = ++column;
      item.iImage = CheckedImage(record.image, images_.get());
      SendMessageA(hwnd(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
      continue;
    }
    tips_.push_back(record.tip);
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    item.iItem = ItemCount();
    item.iImage = CheckedImage(record.image, images_.get());
    item.state = static_cast<UINT>(CheckedImage(record.stateImage, stateImages_.get()) + 1) << 12;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.iIndent = record.indent;
    item.lParam = record.data;
    last = static_cast<int32_t>(SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    column = 0;
  }
}

int32_t ListView::ItemCount() const {
  return static_cast<int32_t>(SendMessageA(hwnd(), LVM_GETITEMCOUNT, 0, 0));
}

void ListView::DeleteAllItems() { SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0); }

int32_t ListView::InsertItem(int32_t position, const char* text, int32_t image, bool hasState, int32_t stateImage,
                             int32_t indent, int32_t data) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
  item.iItem = position < 0 ? ItemCount() : position;
  item.iSubItem = 0;
  if (hasState) {
    // The state image only takes effect under its mask.
    const int64_t bits = (static_cast<int64_t>(stateImage) + 1) * 4096;
    item.state = bits < 0 ? 0 : static_cast<UINT>(bits);
    item.stateMask = LVIS_STATEIMAGEMASK;
  }
  std::string copy = text ? text : "";
  item.pszText = &copy[0];
  item.cchTextMax = 0;
  item.iImage = image < -1 ? -1 : image;
  item.iIndent = indent < 0 ? 0 : indent;
  item.lParam = data;
  // A visible list would lay out and draw itself after every item; programs insert
  // items in runs (a thousand for a large module), so drawing waits for the run's end.
  if (!drawingHeld_ && IsWindowVisible(hwnd())) {
    SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    drawingHeld_ = true;
    PostMessageA(hwnd(), kResumeDrawingMessage, 0, 0);
  }
  return static_cast<int32_t>(SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

std::vector<int32_t> ListView::SelectedItems() const {
  std::vector<int32_t> selected;
  int32_t at = -1;
  for (;;) {
    at = static_cast<int32_t>(SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED));
    if (at < 0 || (!selected.empty() && at <= selected.back())) break;
    selected.push_back(at);
  }
  return selected;
}

LRESULT ListView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kResumeDrawingMessage) {
    if (drawingHeld_) {
      drawingHeld_ = false;
      SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
      InvalidateRect(hwnd(), nullptr, TRUE);
    }
    return 0;
  }
  if (msg == kCheckChangedMessage) {
    OnCheckChanged(static_cast<int32_t>(wParam));
    return 0;
  }
  if (msg == WM_CHAR && wParam == ' ' && data_.checkBoxes) {
    const LRESULT focused = SendMessageA(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (focused >= 0) PostMessageA(hwnd(), kCheckChangedMessage, static_cast<WPARAM>(focused), 0);
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace comp
