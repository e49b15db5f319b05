#include "components/menu/menu.h"

#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/values.h"

namespace comp {
namespace {

struct ShortcutTable {
  ShortcutKey keys[77] = {};
  std::string names[77];
  ShortcutTable() {
    int i = 1;
    for (char c = 'A'; c <= 'Z'; ++c, ++i) Set(i, std::string("Ctrl+") + c, FCONTROL, static_cast<WORD>(c));
    struct Group { const char* prefix; BYTE modifiers; };
    const Group groups[] = {{"", 0}, {"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Ctrl+Shift+", FCONTROL | FSHIFT}};
    for (const Group& g : groups)
      for (int f = 1; f <= 12; ++f, ++i)
        Set(i, std::string(g.prefix) + "F" + std::to_string(f), g.modifiers, static_cast<WORD>(VK_F1 + f - 1));
    Set(75, "Ins", 0, VK_INSERT);
    Set(76, "Del", 0, VK_DELETE);
  }
  void Set(int i, std::string name, BYTE modifiers, WORD key) {
    names[i] = std::move(name);
    keys[i] = ShortcutKey{names[i].c_str(), modifiers, key};
  }
};

class Builder {
 public:
  Builder(rt::ElementTemplate* items, size_t count, uint32_t firstId, bool ownerDraw, bool storePopups)
      : items_(items), count_(count), firstId_(firstId), ownerDraw_(ownerDraw), storePopups_(storePopups) {}

  // Fills `menu` with the items from *i on while their level is above openerLevel.
  void Fill(HMENU menu, size_t* i, int32_t openerLevel) {
    while (*i < count_ && items_[*i].level > openerLevel) {
      size_t at = (*i)++;
      rt::ElementTemplate& item = items_[at];
      bool hasSubItems = *i < count_ && items_[*i].level > item.level;
      bool hidden = item.itemFlags & rt::MenuHidden;
      if (hasSubItems) {
        if (hidden) {
          SkipSubItems(i, item.level);
          continue;
        }
        HMENU sub = CreatePopupMenu();
        Fill(sub, i, item.level);
        AppendDropDown(menu, item, sub, at);
      } else if (!hidden) {
        AppendCommand(menu, item, at);
      }
    }
  }

  // The bar: every top item is a drop-down, with or without sub-items.
  void FillBar(HMENU bar) {
    size_t i = 0;
    while (i < count_) {
      size_t at = i++;
      rt::ElementTemplate& item = items_[at];
      if (item.itemFlags & rt::MenuHidden) {
        SkipSubItems(&i, item.level);
        continue;
      }
      HMENU sub = CreatePopupMenu();
      Fill(sub, &i, item.level);
      AppendDropDown(bar, item, sub, at);
    }
  }

  HACCEL Accelerators() const {
    std::vector<ACCEL> table;
    for (const auto& pair : shortcuts_) {
      const ShortcutKey* key = FindShortcutKey(pair.second);
      if (key)
        table.push_back(ACCEL{static_cast<BYTE>(key->modifiers | FVIRTKEY | FNOINVERT), key->key,
                              static_cast<WORD>(pair.first)});
    }
    return table.empty() ? nullptr : CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
  }

 private:
  void SkipSubItems(size_t* i, int32_t level) {
    while (*i < count_ && items_[*i].level > level) ++*i;
  }
  uint32_t IdOf(size_t at) const { return firstId_ + static_cast<uint32_t>(at); }

  void AppendDropDown(HMENU menu, rt::ElementTemplate& item, HMENU sub, size_t at) {
    UINT flags = MF_POPUP | ((item.itemFlags & rt::MenuDisabled) ? MF_GRAYED : 0);
    Append(menu, flags, reinterpret_cast<UINT_PTR>(sub), item.caption.c_str(), at);
    if (storePopups_) item.popup = sub;
  }

  void AppendCommand(HMENU menu, const rt::ElementTemplate& item, size_t at) {
    if (item.caption == "-") {
      Append(menu, MF_SEPARATOR, 0, nullptr, at);
      return;
    }
    UINT flags = MF_STRING;
    if (item.itemFlags & rt::MenuChecked) flags |= MF_CHECKED;
    if (item.itemFlags & rt::MenuDisabled) flags |= MF_GRAYED;
    std::string caption = item.caption;
    if (const ShortcutKey* key = FindShortcutKey(item.shortcut)) {
      caption += '\t';
      caption += key->name;
      shortcuts_.emplace_back(IdOf(at), item.shortcut);
    }
    Append(menu, flags, IdOf(at), caption.c_str(), at);
  }

  void Append(HMENU menu, UINT flags, UINT_PTR idOrPopup, const char* text, size_t at) {
    if (ownerDraw_) {
      // Owner-drawn entries carry their command id as item data.
      AppendMenuA(menu, (flags & ~static_cast<UINT>(MF_STRING)) | MF_OWNERDRAW, idOrPopup,
                  rt::PointerOf<const char>(IdOf(at)));
    } else {
      AppendMenuA(menu, flags, idOrPopup, text);
    }
  }

  rt::ElementTemplate* items_;
  size_t count_;
  uint32_t firstId_;
  bool ownerDraw_;
  bool storePopups_;
  std::vector<std::pair<uint32_t, int32_t>> shortcuts_;
};

}  // namespace

const ShortcutKey* FindShortcutKey(int32_t index) {
  static const ShortcutTable table;
  return index >= 1 && index <= 76 ? &table.keys[index] : nullptr;
}

HMENU BuildMenu(rt::ElementTemplate* items, size_t count, uint32_t firstId, bool ownerDraw, MenuKind kind,
                HACCEL* accelerators) {
  if (accelerators) *accelerators = nullptr;
  Builder builder(items, count, firstId, ownerDraw, kind == MenuKind::Bar);
  HMENU menu;
  if (kind == MenuKind::Bar) {
    menu = CreateMenu();
    if (menu) builder.FillBar(menu);
  } else {
    menu = CreatePopupMenu();
    size_t i = 0;
    // Every item of the sub-run belongs to this pop-up.
    while (menu && i < count) builder.Fill(menu, &i, items[i].level - 1);
  }
  if (menu && accelerators) *accelerators = builder.Accelerators();
  return menu;
}

size_t MenuRunStart(const rt::WindowTemplate& window, size_t* length) {
  const auto& e = window.elements;
  size_t start = 0;
  while (start < e.size() && !e[start].IsMenuItem()) ++start;
  size_t end = start;
  while (end < e.size() && e[end].IsMenuItem()) ++end;
  *length = end - start;
  return start;
}

HMENU BuildMenuBar(rt::WindowTemplate& window, HACCEL* accelerators) {
  if (accelerators) *accelerators = nullptr;
  size_t length = 0;
  size_t start = MenuRunStart(window, &length);
  if (length == 0) return nullptr;
  bool ownerDraw = !window.elements.empty() && (window.elements[0].stateFlags & rt::StateOwnerDrawMenu);
  return BuildMenu(&window.elements[start], length, kFirstMenuCommand, ownerDraw, MenuKind::Bar, accelerators);
}

bool SetMenuItemProperty(rt::WindowTemplate&, rt::ElementTemplate& item, int32_t property, uint32_t value) {
  auto setFlag = [&item](uint32_t flag, bool on) {
    if (((item.itemFlags & flag) != 0) == on) return false;
    item.itemFlags = on ? (item.itemFlags | flag) : (item.itemFlags & ~flag);
    return true;
  };
  switch (property) {
    case MenuCaption: {
      const char* text = rt::PointerOf<const char>(value);
      std::string caption = text ? text : "";
      if (caption == item.caption) return false;
      item.caption = caption;
      return true;
    }
    case MenuCheckedProperty: return setFlag(rt::MenuChecked, value != 0);
    case MenuDisabledProperty: return setFlag(rt::MenuDisabled, value != 0);
    case MenuVisibleProperty: return setFlag(rt::MenuHidden, value == 0);
    default: return false;
  }
}

uint32_t GetMenuItemProperty(const rt::ElementTemplate& item, int32_t property) {
  switch (property) {
    case MenuCaption:
      return rt::Word(rt::NewText(item.caption.c_str()));
    case MenuCheckedProperty: return (item.itemFlags & rt::MenuChecked) ? 1 : 0;
    case MenuDisabledProperty: return (item.itemFlags & rt::MenuDisabled) ? 1 : 0;
    case MenuVisibleProperty: return (item.itemFlags & rt::MenuHidden) ? 0 : 1;
    default: return 0;
  }
}

void RebuildMenuBar(HWND window, rt::WindowTemplate& windowTemplate, HACCEL* accelSlot) {
  if (!window || !IsWindow(window)) return;
  HMENU old = GetMenu(window);
  HACCEL accelerators = nullptr;
  HMENU bar = BuildMenuBar(windowTemplate, &accelerators);
  if (accelSlot) {
    if (*accelSlot) DestroyAcceleratorTable(*accelSlot);
    *accelSlot = accelerators;
  } else if (accelerators) {
    DestroyAcceleratorTable(accelerators);
  }
  SetMenu(window, bar);
  if (old) DestroyMenu(old);
}

}  // namespace comp
