#include "components/kernel_library.h"

#include "components/button/button.h"
#include "components/common_dialog/common_dialog.h"
#include "components/component_type.h"
#include "components/edit_box/edit_box.h"
#include "components/label/label.h"
#include "components/menu/menu.h"
#include "components/window/window_component.h"
#include "runtime/library_entry.h"
#include "runtime/window_loader.h"

namespace comp {
namespace {

uint32_t ReadMenuItem(rt::WindowTemplate&, rt::ElementTemplate& item, int32_t property) {
  return GetMenuItemProperty(item, property);
}

// A menu-item write that changed something rebuilds the live window's menu bar and
// hands the new accelerator table to the window.
bool WriteMenuItem(rt::WindowTemplate& window, rt::ElementTemplate& item, int32_t property, uint32_t value) {
  if (!SetMenuItemProperty(window, item, property, value)) return false;
  rt::WindowObject* object = window.elements.empty() ? nullptr : window.elements[0].object;
  if (object && IsWindow(object->hwnd())) {
    HACCEL accelerators = nullptr;
    RebuildMenuBar(object->hwnd(), window, &accelerators);
    if (auto* form = dynamic_cast<rt::FormWindow*>(object))
      form->SetAcceleratorTable(accelerators);
    else if (accelerators)
      DestroyAcceleratorTable(accelerators);
  }
  return true;
}

// Menu items: their four properties are held by the runtime; no GetInterface.
constexpr std::array<rt::PropertyInfo, 4> kMenuProperties = {
    Property(rt::KindText, 0), Property(rt::KindLogical, 0), Property(rt::KindLogical, 0),
    Property(rt::KindLogical, 0)};

// The kernel's type table.  Types this program does not use keep their place as
// all-zero entries so that the type numbers stay stable.
const rt::ComponentTypeInfo kKernelTypes[kKernelTypeCount] = {
    kWindowType,  // 1 window
    {},           // 2
    kMenuType,    // 3 menu
    {},           // 4
    kEditBoxType, // 5 EditBox
    {}, {}, {}, {},
    kLabelType,   // 10 Label
    kButtonType,  // 11 Button
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
    kCommonDlgType,  // 31 CommonDlg
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
};

// Requires system 1.0; no command table.
const rt::LibraryDescriptor kKernel = [] {
  rt::LibraryDescriptor d = rt::WithTypes(
      rt::LibraryEntry("d09f2340818511d396f6aaf844c7e325", "系统核心支持库", {5, 0, 64}, &KernelNotify), kKernelTypes);
  d.requiredSystemMajor = 1;
  return d;
}();

}  // namespace

const rt::ComponentTypeInfo kMenuType =
    TypeEntry("菜单", "menu", kTypeLibraryBit | rt::TypeIsMenu, kMenuProperties, nullptr);

rt::LibraryLink& KernelLink() {
  static rt::LibraryLink link;
  return link;
}

int32_t __stdcall KernelNotify(int32_t code, int32_t arg1, int32_t arg2) {
  if (code == 1) rt::SetMenuServices({&BuildMenuBar, &ReadMenuItem, &WriteMenuItem});
  CommonDlgLink().Notify(code, arg1, arg2);
  return KernelLink().Notify(code, arg1, arg2);
}

const rt::LibraryDescriptor& KernelLibrary() { return kKernel; }

}  // namespace comp
