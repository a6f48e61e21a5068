#include "fileops/date_time_parse.h"

#include <cstdio>

namespace fileops {

const char* const kMsgDateFormat = "日付はYY/MM/DDの形式で入力してください";
const char* const kMsgDateValue = "日付の値が無効です";
const char* const kMsgTimeFormat = "時間はHH:MM:SSの形式で入力してください";
const char* const kMsgTimeValue = "時間の値が無効です";

namespace {

constexpr long kFieldLimit = 1000000;  // far beyond any valid field; keeps reading bounded

// Reads a decimal number as atol does (blanks, a sign, digits), saturating at kFieldLimit.
long ReadNumber(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long v = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (v < kFieldLimit) v = v * 10 + (*p - '0');
  }
  if (v > kFieldLimit) v = kFieldLimit;
  return negative ? -v : v;
}

// The three fields of "a<sep>b<sep>c"; false when there are fewer than two separators.
bool SplitThree(const char* text, char separator, long (&fields)[3]) {
  const char* starts[3] = {text, nullptr, nullptr};
  int found = 0;
  for (const char* p = text; *p && found < 2; ++p) {
    if (*p == separator) starts[++found] = p + 1;
  }
  if (found < 2) return false;
  for (int i = 0; i < 3; ++i) fields[i] = ReadNumber(starts[i]);
  return true;
}

bool FullYear(long year, long& full) {
  if (year < 0) return false;
  if (year < 80) full = 2000 + year;
  else if (year < 100) full = 1900 + year;
  else full = year;
  return full >= 1980 && full <= 2107;
}

bool IsLeap(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(long year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysSince1601(long year, int month, int day) {
  constexpr int64_t kDays1601To1970 = 134774;
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = y / 400;  // years here are never negative
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + kDays1601To1970;
}

}  // namespace

FieldParse ParseDosDate(const char* text, uint16_t& date) {
  long f[3];
  if (!text || !SplitThree(text, '/', f)) return FieldParse::kFormatError;
  long year = 0;
  if (f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31 || !FullYear(f[0], year))
    return FieldParse::kValueError;
  date = static_cast<uint16_t>(((year - 1980) << 9) | (f[1] << 5) | f[2]);
  return FieldParse::kOk;
}

FieldParse ParseDosTime(const char* text, uint16_t& time) {
  long f[3];
  if (!text || !SplitThree(text, ':', f)) return FieldParse::kFormatError;
  if (f[0] < 0 || f[0] > 23 || f[1] < 0 || f[1] > 59 || f[2] < 0 || f[2] > 59)
    return FieldParse::kValueError;
  time = static_cast<uint16_t>((f[0] << 11) | (f[1] << 5) | (f[2] / 2));
  return FieldParse::kOk;
}

DateTimeFields ParseDateTimeFields(const char* dateText, const char* timeText) {
  DateTimeFields out;
  if (!dateText || !*dateText || !timeText || !*timeText) return out;
  switch (ParseDosDate(dateText, out.date)) {
    case FieldParse::kFormatError: out.message = kMsgDateFormat; return out;
    case FieldParse::kValueError: out.message = kMsgDateValue; return out;
    case FieldParse::kOk: break;
  }
  switch (ParseDosTime(timeText, out.time)) {
    case FieldParse::kFormatError: out.message = kMsgTimeFormat; return out;
    case FieldParse::kValueError: out.message = kMsgTimeValue; return out;
    case FieldParse::kOk: break;
  }
  out.present = true;
  return out;
}

std::string FormatDialogDate(uint16_t dosDate) {
  char buf[32];
  const int year = 1980 + (dosDate >> 9);
  std::snprintf(buf, sizeof(buf), "%04d/%02d/%02d", year, (dosDate >> 5) & 0x0F, dosDate & 0x1F);
  // Two digits read back as 1980-2079, so later years keep all four.
  return std::string(year >= 2080 ? buf : buf + 2);
}

std::string FormatDialogTime(uint16_t dosTime) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%02d:%02d:%02d", dosTime >> 11, (dosTime >> 5) & 0x3F,
                (dosTime & 0x1F) * 2);
  return buf;
}

bool DosDateTimeToUtc(uint16_t date, uint16_t time, int32_t biasMinutes, os::FileTime& utc) {
  const long year = 1980 + (date >> 9);
  const int month = (date >> 5) & 0x0F, day = date & 0x1F;
  const int hour = time >> 11, minute = (time >> 5) & 0x3F, second = (time & 0x1F) * 2;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  if (hour > 23 || minute > 59 || second > 59) return false;
  int64_t seconds = DaysSince1601(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  seconds += static_cast<int64_t>(biasMinutes) * 60;
  if (seconds < 0) return false;
  utc = static_cast<os::FileTime>(seconds) * 10000000u;
  return true;
}

}  // namespace fileops
