#include "runtime/text_commands.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/heap.h"
#include "runtime/values.h"

namespace rt {
namespace {

inline uint8_t Byte(const char* p) { return static_cast<uint8_t>(*p); }
inline bool IsLeadByte(const char* p) { return Byte(p) >= 0x80; }

// Length of the space at p: 1 for 0x20, 2 for the full-width space, 0 otherwise.
inline size_t SpaceLength(const char* p) {
  if (*p == ' ') return 1;
  if (Byte(p) == 0xA1 && Byte(p + 1) == 0xA1) return 2;
  return 0;
}

const ArgRecord* Arg(int32_t argc, ArgRecord* args, int32_t i) {
  return (args && i < argc) ? &args[i] : nullptr;
}

std::string Format(const char* format, double d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, d);
  return buffer;
}

std::string Decimal(int64_t v) {
  char digits[24];
  size_t n = 0;
  // Works on the unsigned magnitude so that the smallest value has no overflow.
  uint64_t u = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  do {
    digits[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u);
  std::string text = v < 0 ? "-" : "";
  while (n) text += digits[--n];
  return text;
}

std::string DateTimeText(double dayCount) {
  CalendarTime t;
  if (!DateTimeToCalendar(dayCount, &t)) return std::string();
  char buffer[96];
  int n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", t.year, t.month, t.day);
  char* rest = buffer + n;
  size_t room = sizeof buffer - n;
  if (t.second != 0)
    std::snprintf(rest, room, "%d时%d分%d秒", t.hour, t.minute, t.second);
  else if (t.minute != 0)
    std::snprintf(rest, room, "%d时%d分", t.hour, t.minute);
  else if (t.hour != 0)
    std::snprintf(rest, room, "%d时", t.hour);
  return buffer;
}

size_t ElementSize(uint32_t elementTag) {
  switch (elementTag) {
    case TagByte: return 1;
    case TagShort: return 2;
    case TagInt:
    case TagFloat: return 4;
    case TagLong:
    case TagDouble: return 8;
    default: return 0;
  }
}

// Bytes of [p, p + n) up to the first zero byte.
std::string BytesUpToZero(const uint8_t* p, size_t n) {
  if (!p) return std::string();
  const void* zero = std::memchr(p, 0, n);
  size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : n;
  return std::string(reinterpret_cast<const char*>(p), length);
}

}  // namespace

bool DateTimeToCalendar(double dayCount, CalendarTime* out) {
  if (!(dayCount > -657435.0 && dayCount < 2958466.0)) return false;
  double whole = std::trunc(dayCount);
  int32_t day = static_cast<int32_t>(whole);
  int32_t seconds = static_cast<int32_t>(std::lround(std::fabs(dayCount - whole) * 86400.0));
  if (seconds >= 86400) {
    // Rounded up to midnight: the next calendar day, unless that leaves the range.
    if (day < 2958465) {
      ++day;
      seconds = 0;
    } else {
      seconds = 86399;
    }
  }
  // Days since 1 March of year 0 of the proleptic Gregorian calendar, then eras of 400
  // years (146097 days), which makes leap days fall at the end of each computed year.
  int64_t z = static_cast<int64_t>(day) + 693899;  // day 0 = 1899-12-30
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t dayOfEra = z - era * 146097;
  int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  int64_t mp = (5 * dayOfYear + 2) / 153;
  int64_t d = dayOfYear - (153 * mp + 2) / 5 + 1;
  int64_t m = mp < 10 ? mp + 3 : mp - 9;
  int64_t y = yearOfEra + era * 400 + (m <= 2 ? 1 : 0);
  out->year = static_cast<int32_t>(y);
  out->month = static_cast<int32_t>(m);
  out->day = static_cast<int32_t>(d);
  out->hour = seconds / 3600;
  out->minute = seconds / 60 % 60;
  out->second = seconds % 60;
  return true;
}

std::string ValueText(const ArgRecord& a) {
  if (a.tag & ArrayFlag) {
    size_t size = ElementSize(a.tag & ~ArrayFlag);
    const void* array = PointerOf(a.value);
    if (size == 0 || !array) return std::string();
    size_t count = static_cast<size_t>(ArrayElementCount(array));
    const uint8_t* elements = reinterpret_cast<const uint8_t*>(ArrayElements(const_cast<void*>(array)));
    return BytesUpToZero(elements, count * size);
  }
  switch (a.tag) {
    case TagByte: return Decimal(a.value & 0xFF);
    case TagShort: return Decimal(static_cast<int16_t>(a.value & 0xFFFF));
    case TagInt: return Decimal(static_cast<int32_t>(a.value));
    case TagLong: return Decimal(static_cast<int64_t>((static_cast<uint64_t>(a.high) << 32) | a.value));
    case TagFloat: {
      float f;
      std::memcpy(&f, &a.value, 4);
      return Format("%.6g", f);
    }
    case TagDouble: return Format("%.13g", DoubleOf(a));
    case TagBool: return a.value ? "真" : "假";
    case TagDateTime: return DateTimeText(DoubleOf(a));
    case TagText: return TextOf(a);
    case TagBytes: {
      const void* set = PointerOf(a.value);
      int32_t n = ByteSetLength(set);
      return BytesUpToZero(ByteSetBytes(set), n > 0 ? static_cast<size_t>(n) : 0);
    }
    default: return std::string();
  }
}

void __cdecl BitOr(ResultRecord* result, int32_t argc, ArgRecord* args) {
  uint32_t bits = 0;
  for (int32_t i = 0; i < argc; ++i) bits |= args[i].value;
  result->value = bits;
  result->high = 0;
  result->tag = TagInt;
}

void __cdecl TrimSpaces(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* textArg = Arg(argc, args, 0);
  const char* p = textArg ? TextOf(*textArg) : "";
  while (size_t n = SpaceLength(p)) p += n;
  const char* q = p;
  const char* runStart = nullptr;  // start of the current run of spaces
  while (*q) {
    if (size_t n = SpaceLength(q)) {
      if (!runStart) runStart = q;
      q += n;
      continue;
    }
    if (IsLeadByte(q)) {
      if (q[1] == 0) break;  // a lead byte without its second byte is cut off
      q += 2;
    } else {
      ++q;
    }
    runStart = nullptr;
  }
  const char* end = runStart ? runStart : q;
  SetTextResult(result, NewText(p, static_cast<size_t>(end - p)));
}

void __cdecl SplitText(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* textArg = Arg(argc, args, 0);
  const ArgRecord* delimiterArg = Arg(argc, args, 1);
  const ArgRecord* limitArg = Arg(argc, args, 2);
  const char* text = textArg ? TextOf(*textArg) : "";
  const char* delimiter = (delimiterArg && !IsOmitted(*delimiterArg)) ? TextOf(*delimiterArg) : ",";
  bool limited = limitArg && !IsOmitted(*limitArg);
  int32_t limit = limited ? static_cast<int32_t>(limitArg->value) : 0;
  if (limit < 0) limit = 0;

  std::vector<char*> pieces;
  result->tag = TagText | ArrayFlag;
  result->high = 0;
  if (*text == 0 || (limited && limit == 0)) {
    result->value = Word(NewTextArray(nullptr, 0));
    return;
  }
  size_t delimiterLength = std::strlen(delimiter);
  if (delimiterLength == 0) {
    pieces.push_back(NewText(text));
    result->value = Word(NewTextArray(pieces.data(), pieces.size()));
    return;
  }

  size_t length = std::strlen(text);
  size_t start = 0, p = 0;
  int32_t count = 0;
  bool limitReached = false;
  while (length - p >= delimiterLength) {
    if (std::memcmp(text + p, delimiter, delimiterLength) == 0) {
      pieces.push_back(NewText(text + start, p - start));
      p += delimiterLength;
      start = p;
      if (limited && ++count >= limit) {
        limitReached = true;
        break;
      }
      continue;
    }
    if (IsLeadByte(text + p)) {
      if (text[p + 1] == 0) break;
      p += 2;
    } else {
      ++p;
    }
  }
  if (!limitReached && start < length) pieces.push_back(NewText(text + start, length - start));
  result->value = Word(NewTextArray(pieces.data(), pieces.size()));
}

void __cdecl BlankText(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* countArg = Arg(argc, args, 0);
  int32_t n = countArg ? static_cast<int32_t>(countArg->value) : 0;
  char* text = nullptr;
  if (n > 0) {
    // A size beyond the 32-bit block limit is reported as a failed allocation of it.
    text = static_cast<char*>(AllocMemory(n < INT32_MAX ? n + 1 : INT32_MAX));
    std::memset(text, ' ', static_cast<size_t>(n));
    text[n] = 0;
  }
  SetTextResult(result, text);
}

void __cdecl ToText(ResultRecord* result, int32_t argc, ArgRecord* args) {
  const ArgRecord* valueArg = Arg(argc, args, 0);
  std::string text = valueArg ? ValueText(*valueArg) : std::string();
  SetTextResult(result, NewText(text.data(), text.size()));
}

}  // namespace rt
