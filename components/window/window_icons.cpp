// The window component's icons: its own, made from its icon property, or else the
// shared default ones of the program.
#include <cstdlib>
#include <vector>

#include "components/picture.h"
#include "components/window/window_component.h"
#include "formats/icons/icon_directory.h"
#include "runtime/runtime_state.h"

namespace comp {
namespace {

// The image of an icon file closest to cx x cy, as an icon; null when the data is not
// an icon file or an image lies outside it.
HICON IconFromFileData(const std::vector<uint8_t>& data, int cx, int cy) {
  const auto entries = rt::ParseIconDirectory(data.data(), data.size(), rt::IconDirectoryKind::IconFile);
  if (!entries) return nullptr;
  const rt::IconDirectoryEntry* best = nullptr;
  int bestDistance = 0;
  for (const rt::IconDirectoryEntry& e : *entries) {
    const int distance = std::abs(IconSide(e.width) - cx) + std::abs(IconSide(e.height) - cy);
    if (!best || distance < bestDistance) {
      best = &e;
      bestDistance = distance;
    }
  }
  if (!best || best->byteSize == 0) return nullptr;
  return CreateIconFromImage(data.data() + best->offset, best->byteSize, cx, cy);
}

// The program's default icons, loaded once into the runtime's state (shared, never
// destroyed).  Without an icon resource of its own the program shows the system's
// application icon.
void DefaultIcons(HICON* big, HICON* small) {
  rt::RuntimeState& rs = rt::Runtime();
  if (!rs.defaultBigIcon) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    rs.defaultBigIcon = static_cast<HICON>(LoadImageA(self, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), 0));
    rs.defaultSmallIcon = static_cast<HICON>(LoadImageA(self, "DEFAULT_ICON", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  }
  *big = rs.defaultBigIcon ? rs.defaultBigIcon : LoadIconA(nullptr, IDI_APPLICATION);
  *small = rs.defaultSmallIcon ? rs.defaultSmallIcon : *big;
}

}  // namespace

void WindowComponent::ApplyIcons() {
  rt::IconHandle big, small;
  if (!data_.icon.empty()) {
    big.reset(IconFromFileData(data_.icon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    small.reset(IconFromFileData(data_.icon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
  }
  HICON shownBig = big.get(), shownSmall = small.get();
  if (!big || !small) {
    big.reset();
    small.reset();
    DefaultIcons(&shownBig, &shownSmall);
  }
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shownBig));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shownSmall));
  // The window no longer shows the icons it had: they go now.
  ownBigIcon_ = std::move(big);
  ownSmallIcon_ = std::move(small);
}

}  // namespace comp
