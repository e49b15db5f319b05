// The bare platform loop that the list fill is measured against: ExtractIconA and
// ImageList_ReplaceIcon for every icon of a file, into a list like the application's
// (32 x 32, 32-bit colour with a mask).
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <cstdint>

#include "runtime/handles.h"

namespace bench {

// Returns the number of images the list holds at the end.
inline int32_t PlatformLoop(const char* module) {
  const int32_t icons = static_cast<int32_t>(
      reinterpret_cast<uintptr_t>(ExtractIconA(GetModuleHandleA(nullptr), module, static_cast<UINT>(-1))));
  rt::ImageListHandle list(ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 6, 4));
  for (int32_t i = 0; i < icons; ++i) {
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), module, static_cast<UINT>(i));
    if (reinterpret_cast<uintptr_t>(icon) <= 1) continue;
    ImageList_ReplaceIcon(list.get(), -1, rt::IconHandle(icon).get());
  }
  return ImageList_GetImageCount(list.get());
}

inline double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace bench
