// The one message loop of the user-interface thread.
#pragma once
#include <windows.h>

#include <cstdint>

#include "runtime/runtime_state.h"

namespace rt {

// Takes one message with GetMessageA and, unless the pre-translation chain consumes
// it, translates and dispatches it.  Returns false when the message was WM_QUIT.
bool PumpMessage();
// Pumps every waiting message; stops before a WM_QUIT, which stays queued (one taken
// all the same is posted again).
void PumpWaitingMessages();
// RunMessageLoop's loop; modal mode returns when the current modal window id is 0, and
// leaves a WM_QUIT queued for the outer loop (posting again one that it took).
void RunLoop(bool modal);

void RegisterIdleCallback(HWND window, IdleRoutineFn routine, int32_t parameter);
void UnregisterIdleCallback(HWND window);

}  // namespace rt
