// A stand-in for the runtime's PumpWaitingMessages while runtime/message_loop.cpp does
// not exist yet (tests/runtime/CMakeLists.txt defines MESSAGE_PUMP_FALLBACK then).  It
// pumps as the runtime does, without the pre-translation chain, so that the
// ProcessEvents tests run against real dispatching.
#ifdef MESSAGE_PUMP_FALLBACK
#include <windows.h>

#include "runtime/message_loop.h"

namespace rt {

void PumpWaitingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace rt
#endif
