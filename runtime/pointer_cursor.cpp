#include "runtime/pointer_cursor.h"

#include <set>

#include "formats/icons/icon_directory.h"
#include "runtime/values.h"

namespace rt {
namespace {

// Cursors built from cursor files are owned; standard cursors are shared.
std::set<HCURSOR>& OwnedCursors() {
  static std::set<HCURSOR> cursors;
  return cursors;
}

// The first image of a cursor file: directory {0, 2, count}, 16-byte entries whose
// planes and bit-count fields hold the hot spot, then the image data.  The platform
// takes a cursor image as its hot spot (two 16-bit words) followed by the DIB.
HCURSOR CursorFromFile(const uint8_t* data, size_t size) {
  const auto directory = ParseIconDirectory(data, size, IconDirectoryKind::CursorFile, 1);
  if (!directory || directory->empty() || directory->front().byteSize < 40) return nullptr;
  const IconDirectoryEntry& first = directory->front();
  const uint32_t length = first.byteSize, offset = first.offset;
  const uint16_t hotX = first.planes, hotY = first.bitCount;
  std::vector<uint8_t> image(4 + length);
  image[0] = uint8_t(hotX);
  image[1] = uint8_t(hotX >> 8);
  image[2] = uint8_t(hotY);
  image[3] = uint8_t(hotY >> 8);
  std::copy(data + offset, data + offset + length, image.begin() + 4);
  HCURSOR c = reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), FALSE,
                                                                 0x00030000, first.width, first.height, LR_DEFAULTCOLOR));
  if (c) OwnedCursors().insert(c);
  return c;
}

}  // namespace

// Index 1..14 of the standard pointer table -> system cursor id; 0 for none.
LPCSTR StandardPointerId(int32_t index) {
  static const LPCSTR ids[] = {nullptr,   IDC_ARROW, IDC_CROSS,  IDC_IBEAM,  IDC_WAIT,   IDC_HELP,
                               IDC_APPSTARTING, IDC_NO, IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENS,
                               IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW, IDC_HAND};
  if (index < 0 || index > 14) return nullptr;
  return ids[index];
}

int32_t PointerIndexToCursorId(int32_t index) {
  if (index < 1 || index > 14) return index;
  return static_cast<int32_t>(Word(StandardPointerId(index)));
}

int32_t CursorIdToPointerIndex(int32_t id) {
  for (int32_t i = 1; i <= 14; ++i)
    if (PointerIndexToCursorId(i) == id) return i;
  return id;
}

HCURSOR CreatePointerCursor(const std::vector<uint8_t>& data) {
  if (data.empty()) return nullptr;
  int32_t number;
  if (data.size() >= 4) {
    number = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t(data[3]) << 24);
  } else {
    number = data[0];
  }
  if (number == -1) return CursorFromFile(data.data() + 4, data.size() - 4);
  if (data.size() > 10) {
    if (HCURSOR c = CursorFromFile(data.data(), data.size())) return c;
  }
  LPCSTR id = StandardPointerId(number);
  // A system cursor id itself, when it is one of the table's.
  if (!id) id = StandardPointerId(CursorIdToPointerIndex(number));
  if (!id) return nullptr;
  if (id == IDC_HAND) return HandCursor();
  return LoadCursorA(nullptr, id);
}

HCURSOR HandCursor() {
  // The program carries its own hand pointer (older systems have none); without that
  // resource the system's hand is used.  Both are shared cursors, never destroyed.
  if (HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursorResource))) return own;
  return LoadCursorA(nullptr, IDC_HAND);
}

void DestroyPointerCursor(HCURSOR cursor) {
  if (cursor && OwnedCursors().erase(cursor)) DestroyCursor(cursor);
}

}  // namespace rt
