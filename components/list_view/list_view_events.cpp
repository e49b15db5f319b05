// ListView events: the notifications that the parent window reflects to the list.
#include <algorithm>
#include <cstring>

#include "components/list_view/list_view.h"

namespace comp {
namespace {
enum ListViewEvent : int32_t {
  EvCurrentItemChanged = 0,
  EvItemActivated = 1,
  EvColumnClicked = 2,
  EvHotItemChanged = 3,
  EvClicked = 4,
  EvRightClicked = 5,
  EvLabelEditStarting = 6,
  EvLabelEditEnded = 7,
  EvCheckChanged = 8,
};
}  // namespace

bool ListView::OnReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
  if (msg != WM_NOTIFY || !lParam) return false;
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->hwndFrom != hwnd()) return false;  // the header control's own notifications
  return OnNotify(header, result);
}

bool ListView::OnNotify(NMHDR* header, LRESULT* result) {
  HWND self = hwnd();
  *result = 0;
  switch (header->code) {
    case NM_SETFOCUS:
      Fire(rt::EventGotFocus);
      return true;
    case NM_KILLFOCUS:
      Fire(rt::EventLostFocus);
      return true;
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_FOCUSED) &&
          !(change->uOldState & LVIS_FOCUSED))
        Fire(EvCurrentItemChanged);
      return true;
    }
    case LVN_ITEMACTIVATE:
      Fire(EvItemActivated);
      return true;
    case LVN_COLUMNCLICK:
      Fire(EvColumnClicked, {reinterpret_cast<NMLISTVIEW*>(header)->iSubItem});
      return true;
    case LVN_HOTTRACK:
      Fire(EvHotItemChanged, {reinterpret_cast<NMLISTVIEW*>(header)->iItem});
      return true;
    case NM_CLICK:
    case NM_RCLICK:
    case NM_DBLCLK: {
      auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
      const int32_t item = click->iItem;
      const POINT at = click->ptAction;
      if (header->code == NM_CLICK) Fire(EvClicked);
      if (header->code == NM_RCLICK) Fire(EvRightClicked);
      if (IsWindow(self)) PostCheckIfOnStateIcon(item, at);
      return true;
    }
    case LVN_BEGINLABELEDITA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if (info->item.iItem < 0) return true;
      // TRUE cancels the edit.
      *result = Fire(EvLabelEditStarting, {info->item.iItem}).Suppresses() ? TRUE : FALSE;
      return true;
    }
    case LVN_ENDLABELEDITA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      const int32_t item = info->item.iItem;
      if (item < 0) return true;
      if (info->item.pszText) {
        data_.editedText = info->item.pszText;
      } else {
        char text[1024] = {};
        LVITEMA get = {};
        get.iSubItem = 0;
        get.pszText = text;
        get.cchTextMax = sizeof text;
        SendMessageA(self, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&get));
        data_.editedText = text;
      }
      const bool rejected = Fire(EvLabelEditEnded, {item}).Suppresses();
      if (!IsWindow(self)) return true;
      data_.editedText.clear();
      // TRUE keeps the new text.
      *result = info->item.pszText && !rejected ? TRUE : FALSE;
      return true;
    }
    case LVN_GETINFOTIPA: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
      if (!tip->pszText || tip->cchTextMax <= 0) return true;
      if (tip->iItem < 0 || static_cast<size_t>(tip->iItem) >= tips_.size()) return true;
      const std::string& text = tips_[tip->iItem];
      const size_t n = std::min(text.size(), static_cast<size_t>(tip->cchTextMax - 1));
      std::memcpy(tip->pszText, text.data(), n);
      tip->pszText[n] = 0;
      return true;
    }
    default:
      return false;
  }
}

void ListView::PostCheckIfOnStateIcon(int32_t item, POINT at) {
  if (item < 0) return;
  LVHITTESTINFO hit = {};
  hit.pt = at;
  SendMessageA(hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem == item && (hit.flags & LVHT_ONITEMSTATEICON) == LVHT_ONITEMSTATEICON)
    PostMessageA(hwnd(), kCheckChangedMessage, static_cast<WPARAM>(item), 0);
}

void ListView::OnCheckChanged(int32_t item) {
  const UINT state = static_cast<UINT>(SendMessageA(hwnd(), LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
  const int32_t stateImage = static_cast<int32_t>(state >> 12);
  Fire(EvCheckChanged, {item, stateImage - 1});
}

}  // namespace comp
