// Placeholder until the window loader lands: no window can be loaded yet.
#include "runtime/window_table.h"

namespace rt {

bool ReadFormDescription(const uint8_t*, size_t, WindowTable&) { return false; }
void RelocateRoutines(WindowTable&, uint32_t) {}
bool LoadWindow(uint32_t, HWND, bool) { return false; }
void UnloadAllWindows() {}
bool AnyLiveWindow() { return false; }
void OnElementDestroyed(uint32_t, uint32_t) {}
bool PreTranslateWindowMessage(MSG*) { return false; }
int32_t WindowLayerService(int32_t, int32_t, int32_t, bool* handled) {
  *handled = false;
  return 0;
}

}  // namespace rt
