#include "components/kernel_library.h"

#include "runtime/window_loader.h"

namespace comp {

// Provided by the menu component (components/menu_bar_placeholder.cpp until it lands).
HMENU BuildMenuBar(rt::WindowTemplate& window, HACCEL* accelerators);
uint32_t GetMenuItemProperty(rt::WindowTemplate& window, rt::ElementTemplate& item, int32_t property);
bool SetMenuItemProperty(rt::WindowTemplate& window, rt::ElementTemplate& item, int32_t property, uint32_t value);

namespace {

// Menu items: their properties are held by the runtime; no GetInterface.
const rt::PropertyInfo kMenuProperties[] = {
    {nullptr, nullptr, nullptr, rt::KindText, 0, nullptr},
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},
    {nullptr, nullptr, nullptr, rt::KindLogical, 0, nullptr},
};

// The kernel's type table.  Types this program does not use keep their place as
// all-zero entries so that the type numbers stay stable.
// Other component types fill their entries here as they land:
//   5 EditBox, 10 Label, 11 Button, 31 CommonDlg (extern const rt::ComponentTypeInfo).
const rt::ComponentTypeInfo kKernelTypes[kKernelTypeCount] = {
    kWindowType,  // 1 window
    {},           // 2
    kMenuType,    // 3 menu
    {},           // 4
    {},           // 5 EditBox
    {}, {}, {}, {},
    {},           // 10 Label
    {},           // 11 Button
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
    {},           // 31 CommonDlg
    {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
};

const rt::LibraryDescriptor kKernel = {
    rt::kLibraryFormatMark, "d09f2340818511d396f6aaf844c7e325", 5, 0, 64, 1, 0, 0, 0,
    "系统核心支持库", 1, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    kKernelTypeCount, kKernelTypes, 0, nullptr, 0, nullptr, nullptr, nullptr, nullptr, &KernelNotify,
    nullptr, nullptr, 0, nullptr, nullptr,
};

}  // namespace

const rt::ComponentTypeInfo kMenuType = {
    "菜单", "menu", nullptr, 0, nullptr, 0x80000004, 0, 0, nullptr, 4, kMenuProperties, nullptr, 0, nullptr,
};

rt::LibraryLink& KernelLink() {
  static rt::LibraryLink link;
  return link;
}

int32_t __stdcall KernelNotify(int32_t code, int32_t arg1, int32_t arg2) {
  if (code == 1) rt::SetMenuServices({&BuildMenuBar, &GetMenuItemProperty, &SetMenuItemProperty});
  return KernelLink().Notify(code, arg1, arg2);
}

const rt::LibraryDescriptor& KernelLibrary() { return kKernel; }

}  // namespace comp
