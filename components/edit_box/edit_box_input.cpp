// EditBox input modes: the typing filter and the normalising of the text when the
// box loses the focus.
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "components/edit_box/edit_box.h"

namespace comp {
namespace {

// Integer value of a text as the runtime reads numbers: leading blanks, a sign, then
// digits up to the first other character; saturates at the 64-bit limits.
int64_t IntegerValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint64_t v = 0;
  bool overflow = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    unsigned d = static_cast<unsigned>(text[i] - '0');
    if (v > (UINT64_MAX - d) / 10) overflow = true;
    if (!overflow) v = v * 10 + d;
  }
  if (negative) return (overflow || v > uint64_t(INT64_MAX) + 1) ? INT64_MIN : static_cast<int64_t>(0 - v);
  return (overflow || v > uint64_t(INT64_MAX)) ? INT64_MAX : static_cast<int64_t>(v);
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

std::string Format(const char* format, double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, v);
  return buffer;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// A date-time written as up to six numbers (year, month, day, hour, minute, second)
// separated by anything else ("2024年1月5日 8时", "2024-01-05 08:30:00").  Empty when
// it does not parse or is the zero date-time (30 December 1899, midnight).
std::string NormaliseDateTime(const std::string& text) {
  long parts[6] = {};
  int count = 0;
  size_t i = 0;
  while (i < text.size() && count < 6) {
    if (text[i] >= '0' && text[i] <= '9') {
      long v = 0;
      int digits = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (++digits > 5) return {};
        v = v * 10 + (text[i++] - '0');
      }
      parts[count++] = v;
    } else {
      ++i;
    }
  }
  if (count < 3) return {};
  long y = parts[0], mo = parts[1], d = parts[2], h = parts[3], mi = parts[4], s = parts[5];
  if (y < 100 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo)) return {};
  if (h > 23 || mi > 59 || s > 59) return {};
  if (y == 1899 && mo == 12 && d == 30 && h == 0 && mi == 0 && s == 0) return {};
  char buffer[96];
  int n = std::snprintf(buffer, sizeof buffer, "%ld年%ld月%ld日", y, mo, d);
  if (s != 0)
    std::snprintf(buffer + n, sizeof buffer - n, "%ld时%ld分%ld秒", h, mi, s);
  else if (mi != 0)
    std::snprintf(buffer + n, sizeof buffer - n, "%ld时%ld分", h, mi);
  else if (h != 0)
    std::snprintf(buffer + n, sizeof buffer - n, "%ld时", h);
  return buffer;
}

}  // namespace

bool EditAcceptsChar(int32_t mode, unsigned ch) {
  if (ch < 32) return true;
  bool digit = ch >= '0' && ch <= '9';
  switch (mode) {
    case InputDigits: case InputShort: case InputInteger: case InputLong:
      return digit || ch == '-';
    case InputDecimal: case InputFloat: case InputDouble:
      return digit || ch == '-' || ch == '.';
    case InputByte:
      return digit;
    default:
      return true;
  }
}

std::string NormaliseEditText(int32_t mode, const std::string& text) {
  std::string out;
  switch (mode) {
    case InputByte: out = std::to_string(Clamp(IntegerValue(text), 0, 255)); break;
    case InputShort: out = std::to_string(Clamp(IntegerValue(text), -32768, 32767)); break;
    case InputInteger: out = std::to_string(Clamp(IntegerValue(text), INT32_MIN, INT32_MAX)); break;
    case InputLong: out = std::to_string(IntegerValue(text)); break;
    case InputFloat: out = Format("%.6g", static_cast<float>(std::strtod(text.c_str(), nullptr))); break;
    case InputDouble: out = Format("%.13g", std::strtod(text.c_str(), nullptr)); break;
    case InputDateTime: return NormaliseDateTime(text);
    default: return text;
  }
  return out == "0" ? std::string() : out;
}

}  // namespace comp
