// Property services of program code (service table slots 4 and 5): the common
// properties 0..7 held by the runtime, type-specific properties converted by their
// PropertyKind and handed to the component's GetProperty / PropertyChanged, menu-item
// properties handed to the menu services, and re-creation of a component whose change
// can only take effect that way.
#pragma once
#include <windows.h>

#include <cstdint>

namespace rt {

enum CommonProperty : int32_t {
  PropLeft = 0, PropTop = 1, PropWidth = 2, PropHeight = 3,
  PropTag = 4, PropVisible = 5, PropDisabled = 6, PropMousePointer = 7,
};

// Texts, byte sets and font values come back as new runtime blocks owned by the caller.
// The value is the low word; double and date-time properties carry their other four
// bytes in the high word (0 for every other kind).
uint64_t GetComponentPropertyValue(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member);
// The low word of GetComponentPropertyValue.
uint32_t GetComponentProperty(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member);
// The caller keeps its value; whatever is stored is copied.
void SetComponentProperty(uint32_t windowId, uint32_t componentId, int32_t property, int32_t member,
                          uint32_t value, uint32_t high);

// Clamps of the common position properties.
constexpr int32_t kMaxCoordinate = 32627;
int32_t ClampPosition(int32_t v);  // -32627 .. 32627
int32_t ClampSize(int32_t v);      // 0 .. 32627

// Font helpers (LOGFONTA <-> points at the screen's vertical resolution).
LOGFONTA DefaultGuiFont();
int32_t FontHeightToPoints(LONG height);
LONG PointsToFontHeight(int32_t points);

}  // namespace rt
