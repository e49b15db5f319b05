// Icon modules made to order for the tests and the benchmarks: PE modules with many
// icon groups of mixed images (icon_images.h), made by adding resources to a copy of an
// existing module with the platform's resource-update functions.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "icon_images.h"

namespace iconmodules {

// Copies `base` (any PE module) to `out` and gives it `count` icon groups of mixed
// images (ids 1..count); false on any failure.
inline bool WriteIconModule(const std::string& base, const std::string& out, int count) {
  if (!CopyFileA(base.c_str(), out.c_str(), FALSE)) return false;
  HANDLE update = BeginUpdateResourceA(out.c_str(), FALSE);
  if (!update) return false;
  uint16_t nextImage = 1;
  for (int n = 0; n < count; ++n) {
    std::vector<Bytes> images = MixedGroupImages(n);
    Bytes group = GroupDirectory(images, nextImage);
    bool ok = UpdateResourceA(update, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(n + 1), 0, group.data(),
                              static_cast<DWORD>(group.size())) != FALSE;
    for (Bytes& im : images)
      ok = ok && UpdateResourceA(update, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(nextImage++), 0, im.data(),
                                 static_cast<DWORD>(im.size())) != FALSE;
    if (!ok) {
      EndUpdateResourceA(update, TRUE);
      return false;
    }
  }
  return EndUpdateResourceA(update, FALSE) != FALSE;
}

inline bool WriteCraftedModule(const std::string& base, const std::string& out) {
  const Bytes image = CraftedImage();
  rt::ByteAppender g;
  g.u16(0); g.u16(1); g.u16(kCraftedEntries);
  for (uint32_t i = 0; i < kCraftedEntries; ++i) {
    g.u8(0); g.u8(0); g.u8(0); g.u8(0); g.u16(1); g.u16(32); g.u32(static_cast<uint32_t>(image.size())); g.u16(1);
  }
  if (!CopyFileA(base.c_str(), out.c_str(), FALSE)) return false;
  HANDLE update = BeginUpdateResourceA(out.c_str(), FALSE);
  if (!update) return false;
  const bool ok = UpdateResourceA(update, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(1), 0, const_cast<uint8_t*>(image.data()),
                                  static_cast<DWORD>(image.size())) &&
                  UpdateResourceA(update, MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1), 0,
                                  const_cast<uint8_t*>(g.data().data()), static_cast<DWORD>(g.size()));
  return EndUpdateResourceA(update, ok ? FALSE : TRUE) != FALSE && ok;
}

}  // namespace iconmodules
