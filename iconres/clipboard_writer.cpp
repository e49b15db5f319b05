#include "iconres/clipboard_writer.h"

#include <windows.h>

#include <cstring>

#include "runtime/handles.h"
#include "formats/byte_reader.h"

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
  rt::ClipboardSession clipboard;
  if (!clipboard.open() || !EmptyClipboard()) return false;

  rt::GlobalBlock block(rt::BlobToGlobal(dib->data(), dib->size()));
  if (!block) return false;
  // The clipboard owns the block once SetClipboardData accepts it.
  if (!SetClipboardData(CF_DIB, block.get())) return false;
  block.release();
  return true;
}

}  // namespace iconres
