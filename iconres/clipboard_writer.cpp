#include "iconres/clipboard_writer.h"

#include <windows.h>

#include <cstring>

#include "iconres/win_handles.h"
#include "runtime/byte_reader.h"

namespace iconres {

std::optional<std::vector<uint8_t>> BuildClipboardDib(const IconImageEntry& entry) {
  if (!entry.IsDib() || entry.length() == 0) return std::nullopt;
  std::vector<uint8_t> copy = entry.Bytes();
  rt::ByteAppender height;
  height.i32(entry.height);
  std::memcpy(copy.data() + kBiHeight, height.data().data(), 4);
  return copy;
}

bool CopyImageToClipboard(const IconImageEntry& entry) {
  std::optional<std::vector<uint8_t>> dib = BuildClipboardDib(entry);
  if (!dib) return false;
  ClipboardSession clipboard;
  if (!clipboard.open() || !EmptyClipboard()) return false;

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, dib->size());
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(p, dib->data(), dib->size());
  GlobalUnlock(block);
  // The clipboard owns the block once SetClipboardData accepts it.
  if (!SetClipboardData(CF_DIB, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

}  // namespace iconres
