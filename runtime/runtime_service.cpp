#include "runtime/runtime_service.h"

#include <cstdint>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/message_loop.h"
#include "runtime/values.h"
#include "runtime/window_loader.h"
#include "runtime/window_table.h"

namespace rt {
namespace {
}  // namespace

int32_t __stdcall RuntimeService(int32_t code, int32_t arg1, int32_t arg2) {
  switch (code) {
    case SvcAlloc:
      return Word(arg2 == 0 ? AllocMemory(arg1) : TryAllocMemory(arg1));
    case SvcFree:
      FreeMemory(PointerOf(arg1));
      return 0;
    case SvcRealloc:
      return Word(ReallocMemory(PointerOf(arg1), arg2));
    case SvcFatalError:
      ReportRuntimeError(static_cast<const char*>(PointerOf(arg1)), 0);
    case SvcProgramFolder:
      return Word(NewText(Runtime().programFolder.c_str()));
    case SvcProgramFileName:
      return Word(NewText(Runtime().programFileName.c_str()));
    case SvcBeginLoad:
      PumpWaitingMessages();
      ++Runtime().eventBlockCount;
      return 0;
    case SvcEndLoad:
      PumpWaitingMessages();
      if (Runtime().eventBlockCount > 0) --Runtime().eventBlockCount;
      return 0;
    default: {
      bool handled = false;
      int32_t r = WindowLayerService(code, arg1, arg2, &handled);
      return handled ? r : 0;
    }
  }
}

}  // namespace rt
