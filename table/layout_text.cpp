#include "table/layout_text.h"

#include <cstdio>

#include "table/dos_time.h"

namespace table {

std::string SizeLineText(const SM_DAT& d, bool listMode) {
  char buf[48];
  if (listMode) {
    if (d.IsDirectory()) std::snprintf(buf, sizeof(buf), " %13s", "<DIR>");
    else std::snprintf(buf, sizeof(buf), " %13lld", static_cast<long long>(d.size));
  } else {
    if (d.IsDirectory()) return "<DIR>";
    std::snprintf(buf, sizeof(buf), "%lld Bytes", static_cast<long long>(d.size));
  }
  return buf;
}

std::string DateLineText(uint16_t date, bool listMode) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%04d/%02d/%02d", (date >> 9) + 80, DosMonth(date),
                DosDay(date));
  std::string twoDigitYear(buf + 2);
  return listMode ? " " + twoDigitYear : twoDigitYear;
}

std::string TimeLineText(uint16_t time, bool listMode) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "%s%02d:%02d:%02d", listMode ? " " : "", DosHour(time),
                DosMinute(time), DosSecond(time));
  return buf;
}

std::string AttrLineText(uint32_t attributes, bool listMode) {
  std::string out = listMode ? " " : "";
  if (attributes & 0x01) out += 'R';
  if (attributes & 0x02) out += 'H';
  if (attributes & 0x04) out += 'S';
  if (attributes & 0x20) out += 'A';
  return out;
}

}  // namespace table
