// Kernel commands on texts and values: bitwise OR, trimming, splitting, blank texts and
// conversion of any basic value to text.  Texts are 8-bit double-byte code page texts:
// a byte of 0x80 or above starts a two-byte character, which is stepped over as a unit.
// Every returned text or array is a new runtime block owned by the caller; the empty
// text is returned as null.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/values.h"

namespace rt {

// integer... -> integer: the bitwise OR of all arguments.
void __cdecl BitOr(ResultRecord* result, int32_t argc, ArgRecord* args);
// text -> text without leading and trailing spaces (0x20 and the full-width 0xA1 0xA1).
void __cdecl TrimSpaces(ResultRecord* result, int32_t argc, ArgRecord* args);
// text, delimiter (optional, ","), maximum count (optional) -> one-dimensional text array.
void __cdecl SplitText(ResultRecord* result, int32_t argc, ArgRecord* args);
// integer n -> n spaces (the empty text when n is below 1).
void __cdecl BlankText(ResultRecord* result, int32_t argc, ArgRecord* args);
// any basic value -> its text.
void __cdecl ToText(ResultRecord* result, int32_t argc, ArgRecord* args);

// The text of a value as ToText makes it (empty for types without a text form).
std::string ValueText(const ArgRecord& value);

// Calendar date of a date-time day count (day 0 = 30 December 1899).  The integer part
// counts days; the fraction is the time of day, taken by its absolute value for days
// before day 0 (so -1.25 is 29 December 1899, 6:00).  False outside the valid range
// -657434 .. 2958465 (1 January 100 .. 31 December 9999) and for NaN.
struct CalendarTime {
  int32_t year, month, day, hour, minute, second;
};
bool DateTimeToCalendar(double dayCount, CalendarTime* out);

}  // namespace rt
