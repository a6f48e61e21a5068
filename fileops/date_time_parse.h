// The date and time fields of the name/date/attribute dialog: their texts, and the parsing and
// checking of what the user typed into DOS packed dates and times.
#pragma once
#include <cstdint>
#include <string>

#include "os/types.h"

namespace fileops {

enum class FieldParse { kOk, kFormatError, kValueError };

// "YY/MM/DD": every "/" ends a field, fewer than two is a format error. Fields are decimal
// numbers (leading blanks and a sign allowed, reading stops at the first other character);
// month 1-12 and day 1-31, else a value error (a day the month does not have is left to the
// file system). Years 0-79 are 20YY and 80-99 19YY; a four-digit year 1980-2107 is taken as
// it is; any other year cannot be a file's date and is a value error.
FieldParse ParseDosDate(const char* text, uint16_t& date);
// "HH:MM:SS": every ":" ends a field, fewer than two is a format error; hour 0-23, minute and
// second 0-59, else a value error. Seconds are stored halved.
FieldParse ParseDosTime(const char* text, uint16_t& time);

// The dialog's messages.
extern const char* const kMsgDateFormat;   // "日付はYY/MM/DDの形式で入力してください"
extern const char* const kMsgDateValue;    // "日付の値が無効です"
extern const char* const kMsgTimeFormat;   // "時間はHH:MM:SSの形式で入力してください"
extern const char* const kMsgTimeValue;    // "時間の値が無効です"

// Both fields as the dialog reads them on OK. When either is empty nothing is re-dated
// (present false, no message). Otherwise the date is parsed first, then the time; message is
// the first failure's text, and then nothing is re-dated either.
struct DateTimeFields {
  bool present = false;
  uint16_t date = 0;
  uint16_t time = 0;
  const char* message = nullptr;
};
DateTimeFields ParseDateTimeFields(const char* dateText, const char* timeText);

// The texts the dialog starts with: "YY/MM/DD" (the year's last two digits; "YYYY/MM/DD" from
// 2080 on, whose two digits would read back as a year a century earlier) and "HH:MM:SS". Each
// parses back to the value shown.
std::string FormatDialogDate(uint16_t dosDate);
std::string FormatDialogTime(uint16_t dosTime);

// DosDateTimeToFileTime and LocalFileTimeToFileTime with biasMinutes (minutes to add to local
// time to get UTC). False for fields out of range and for a day the month does not have.
bool DosDateTimeToUtc(uint16_t date, uint16_t time, int32_t biasMinutes, os::FileTime& utc);

}  // namespace fileops
