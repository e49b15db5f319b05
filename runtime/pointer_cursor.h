// Mouse pointers: the standard pointer table and cursors built from cursor-file data.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace rt {

// Cursor of a mouse pointer (form description data or property value); null for none.
HCURSOR CreatePointerCursor(const std::vector<uint8_t>& data);
// Standard pointer table: index 1..14 <-> system cursor id (IDC_ARROW .. IDC_HAND).
// Index 0 means none; other values pass unchanged in both directions.
LPCSTR StandardPointerId(int32_t index);
int32_t PointerIndexToCursorId(int32_t index);
int32_t CursorIdToPointerIndex(int32_t id);
// The hand pointer (index 14): the program's cursor resource 0x408, or the system's
// hand when the program has none.  Shared, never destroyed.
constexpr WORD kHandCursorResource = 0x408;
HCURSOR HandCursor();
// Destroys a cursor made by CreatePointerCursor (shared standard cursors are kept).
void DestroyPointerCursor(HCURSOR cursor);

}  // namespace rt
