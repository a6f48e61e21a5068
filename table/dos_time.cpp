#include "table/dos_time.h"

namespace table {
namespace {

constexpr int64_t kTicksPerSecond = 10000000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600LL;

// Civil date of a day count since 1970-01-01 (proleptic Gregorian). Every FILETIME gives a
// count that fits 32 bits, which keeps this cheap on a 32-bit processor.
void CivilFromDays(int32_t z, int& year, int& month, int& day) {
  z += 719468;
  const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int32_t doe = z - era * 146097;
  const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int32_t mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

}  // namespace

DosDateTime ToLocalDosDateTime(os::FileTime utc, int32_t biasMinutes) {
  int64_t seconds = static_cast<int64_t>(utc / kTicksPerSecond) - kEpochDifference;
  seconds -= static_cast<int64_t>(biasMinutes) * 60;
  const int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const int32_t rest = static_cast<int32_t>(seconds - days * 86400);
  int year = 0, month = 0, day = 0;
  CivilFromDays(static_cast<int32_t>(days), year, month, day);
  DosDateTime out;
  if (year < 1980) {
    out.date = (1 << 5) | 1;
    out.time = 0;
    return out;
  }
  if (year > 2107) {
    out.date = static_cast<uint16_t>((127 << 9) | (12 << 5) | 31);
    out.time = static_cast<uint16_t>((23 << 11) | (59 << 5) | 29);
    return out;
  }
  int hour = rest / 3600;
  int minute = rest / 60 % 60;
  int second = rest % 60;
  out.date = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  out.time = static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
  return out;
}

}  // namespace table
