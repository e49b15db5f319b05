// RuntimeService: the one callback through which libraries and components call the
// runtime (a code and two 32-bit arguments, a 32-bit result).
#pragma once
#include <cstdint>

namespace rt {

using RuntimeServiceFn = int32_t(__stdcall*)(int32_t code, int32_t arg1, int32_t arg2);
using LibraryNotifyFn = int32_t(__stdcall*)(int32_t code, int32_t arg1, int32_t arg2);

enum ServiceCode : int32_t {
  SvcWindowTable = 1001,
  SvcTypeInfo = 1002,
  SvcNewWindowObject = 1007,
  SvcDeleteWindowObject = 1008,
  SvcDetachWindow = 1009,
  SvcWindowHandleOf = 1010,
  SvcAttachWindow = 1011,
  SvcElementDestroyed = 2000,
  SvcProgramFolder = 2003,
  SvcProgramFileName = 2004,
  SvcLoadWindow = 2005,
  SvcComponentObject = 2006,
  SvcComponentObjectOrFail = 2007,
  SvcFireEvent = 2008,
  SvcBeginLoad = 2009,
  SvcEndLoad = 2010,
  SvcAlloc = 2024,
  SvcFree = 2025,
  SvcRealloc = 2026,
  SvcFatalError = 2027,
  SvcFireTypedEvent = 2031,
};

int32_t __stdcall RuntimeService(int32_t code, int32_t arg1, int32_t arg2);

}  // namespace rt
