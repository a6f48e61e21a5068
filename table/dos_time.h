// File times as the listing shows them: local time in the DOS packed date and time.
#pragma once
#include <cstdint>

#include "os/types.h"

namespace table {

struct DosDateTime {
  uint16_t date = 0;  // bits 15-9 years since 1980, 8-5 month, 4-0 day
  uint16_t time = 0;  // bits 15-11 hour, 10-5 minute, 4-0 seconds / 2
};

// FileTimeToLocalFileTime with biasMinutes (minutes to add to local time to get UTC), then
// FileTimeToDosDateTime. Times before 1980 show as 1980-01-01 00:00:00, times after 2107 as
// 2107-12-31 23:59:58, where the system call would fail and leave nothing usable.
DosDateTime ToLocalDosDateTime(os::FileTime utc, int32_t biasMinutes);

inline int DosYear(uint16_t date) { return 1980 + (date >> 9); }
inline int DosMonth(uint16_t date) { return (date >> 5) & 0x0F; }
inline int DosDay(uint16_t date) { return date & 0x1F; }
inline int DosHour(uint16_t time) { return time >> 11; }
inline int DosMinute(uint16_t time) { return (time >> 5) & 0x3F; }
inline int DosSecond(uint16_t time) { return (time & 0x1F) * 2; }

}  // namespace table
