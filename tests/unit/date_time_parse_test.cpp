// The date and time fields of the name/date/attribute dialog: typed texts into DOS packed
// values, the messages for bad input, the texts the dialog starts with, and the conversion to
// a file time.
#include <gtest/gtest.h>

#include <string>

#include "fileops/date_time_parse.h"
#include "table/dos_time.h"

namespace {

using fileops::FieldParse;

uint16_t Date(int year, int month, int day) {
  return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}
uint16_t Time(int hour, int minute, int second) {
  return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}

TEST(DateTimeParseTest, Dates) {
  struct Case {
    const char* text;
    FieldParse result;
    uint16_t date;
  } cases[] = {
      {"98/02/01", FieldParse::kOk, Date(1998, 2, 1)},
      {"98/02/30", FieldParse::kOk, Date(1998, 2, 30)},  // left to the file system
      {"00/01/01", FieldParse::kOk, Date(2000, 1, 1)},
      {"79/12/31", FieldParse::kOk, Date(2079, 12, 31)},
      {"80/1/1", FieldParse::kOk, Date(1980, 1, 1)},
      {" 5/ 6/ 7", FieldParse::kOk, Date(2005, 6, 7)},
      {"2024/05/01", FieldParse::kOk, Date(2024, 5, 1)},
      {"2107/12/31", FieldParse::kOk, Date(2107, 12, 31)},
      {"98/02/01/05", FieldParse::kOk, Date(1998, 2, 1)},  // later fields are not read
      {"98/13/01", FieldParse::kValueError, 0},
      {"98/00/01", FieldParse::kValueError, 0},
      {"98/01/32", FieldParse::kValueError, 0},
      {"98/01/00", FieldParse::kValueError, 0},
      {"98/xx/01", FieldParse::kValueError, 0},
      {"-1/01/01", FieldParse::kValueError, 0},
      {"1979/01/01", FieldParse::kValueError, 0},
      {"2108/01/01", FieldParse::kValueError, 0},
      {"150/01/01", FieldParse::kValueError, 0},
      {"99999999999999999999/01/01", FieldParse::kValueError, 0},
      {"98/-99999999999999999999/01", FieldParse::kValueError, 0},
      {"1998-02-01", FieldParse::kFormatError, 0},
      {"98/02", FieldParse::kFormatError, 0},
      {"", FieldParse::kFormatError, 0},
      {"表/表/表", FieldParse::kValueError, 0},
  };
  for (const auto& c : cases) {
    uint16_t date = 0xBEEF;
    EXPECT_EQ(fileops::ParseDosDate(c.text, date), c.result) << c.text;
    EXPECT_EQ(date, c.result == FieldParse::kOk ? c.date : 0xBEEF) << c.text;
  }
}

TEST(DateTimeParseTest, Times) {
  struct Case {
    const char* text;
    FieldParse result;
    uint16_t time;
  } cases[] = {
      {"00:00:00", FieldParse::kOk, Time(0, 0, 0)},
      {"23:59:59", FieldParse::kOk, Time(23, 59, 58)},
      {"12:34:57", FieldParse::kOk, Time(12, 34, 56)},
      {"1:2:3", FieldParse::kOk, Time(1, 2, 2)},
      {"24:00:00", FieldParse::kValueError, 0},
      {"12:60:00", FieldParse::kValueError, 0},
      {"12:00:60", FieldParse::kValueError, 0},
      {"-1:00:00", FieldParse::kValueError, 0},
      {"12:00", FieldParse::kFormatError, 0},
      {"12.00.00", FieldParse::kFormatError, 0},
      {"", FieldParse::kFormatError, 0},
  };
  for (const auto& c : cases) {
    uint16_t time = 0xBEEF;
    EXPECT_EQ(fileops::ParseDosTime(c.text, time), c.result) << c.text;
    EXPECT_EQ(time, c.result == FieldParse::kOk ? c.time : 0xBEEF) << c.text;
  }
}

TEST(DateTimeParseTest, BothFieldsAndTheirMessages) {
  struct Case {
    const char* date;
    const char* time;
    bool present;
    const char* message;
  } cases[] = {
      {"98/02/01", "12:00:00", true, nullptr},
      {"", "12:00:00", false, nullptr},
      {"98/02/01", "", false, nullptr},
      {"1998-02-01", "bad", false, "日付はYY/MM/DDの形式で入力してください"},
      {"98/13/01", "bad", false, "日付の値が無効です"},
      {"98/02/01", "12-00-00", false, "時間はHH:MM:SSの形式で入力してください"},
      {"98/02/01", "25:00:00", false, "時間の値が無効です"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.date) + " " + c.time);
    fileops::DateTimeFields f = fileops::ParseDateTimeFields(c.date, c.time);
    EXPECT_EQ(f.present, c.present);
    if (c.message)
      EXPECT_STREQ(f.message, c.message);
    else
      EXPECT_EQ(f.message, nullptr);
  }
  fileops::DateTimeFields f = fileops::ParseDateTimeFields("98/02/01", "12:34:56");
  EXPECT_EQ(f.date, Date(1998, 2, 1));
  EXPECT_EQ(f.time, Time(12, 34, 56));
}

TEST(DateTimeParseTest, DialogTexts) {
  struct Case {
    uint16_t date;
    const char* text;
  } dates[] = {
      {Date(1998, 2, 1), "98/02/01"},
      {Date(2024, 12, 31), "24/12/31"},
      {Date(1980, 1, 1), "80/01/01"},
      {Date(2079, 12, 31), "79/12/31"},
      // Two digits of 2080 and later would read back as 1980 and later: the year is whole.
      {Date(2080, 1, 1), "2080/01/01"},
      {Date(2107, 12, 31), "2107/12/31"},
  };
  for (const auto& c : dates) EXPECT_EQ(fileops::FormatDialogDate(c.date), c.text);
  EXPECT_EQ(fileops::FormatDialogTime(Time(9, 5, 58)), "09:05:58");
  EXPECT_EQ(fileops::FormatDialogTime(Time(23, 59, 59)), "23:59:58");
  // What the dialog shows parses back to the same value.
  for (const auto& c : dates) {
    uint16_t back = 0;
    ASSERT_EQ(fileops::ParseDosDate(c.text, back), FieldParse::kOk);
    EXPECT_EQ(back, c.date) << c.text;
  }
}

TEST(DateTimeParseTest, ConversionToFileTimeIsTheListingsInverse) {
  struct Case {
    uint16_t date, time;
    int32_t bias;
  } cases[] = {
      {Date(1980, 1, 1), Time(0, 0, 0), 0},
      {Date(1998, 2, 28), Time(23, 59, 58), -540},  // Tokyo
      {Date(2000, 2, 29), Time(12, 0, 0), 60},
      {Date(2024, 12, 31), Time(1, 2, 4), -60},
      {Date(2107, 12, 31), Time(23, 59, 58), 0},
  };
  for (const auto& c : cases) {
    os::FileTime t = 0;
    ASSERT_TRUE(fileops::DosDateTimeToUtc(c.date, c.time, c.bias, t));
    table::DosDateTime back = table::ToLocalDosDateTime(t, c.bias);
    EXPECT_EQ(back.date, c.date);
    EXPECT_EQ(back.time, c.time);
  }
  os::FileTime t = 0;
  EXPECT_TRUE(fileops::DosDateTimeToUtc(Date(1601 + 379, 1, 1), 0, 0, t));
  EXPECT_EQ(t, 119600064000000000ull);  // 1980-01-01 00:00:00 UTC
  EXPECT_FALSE(fileops::DosDateTimeToUtc(Date(1998, 2, 30), 0, 0, t));
  EXPECT_FALSE(fileops::DosDateTimeToUtc(Date(1999, 2, 29), 0, 0, t));
  EXPECT_FALSE(fileops::DosDateTimeToUtc(Date(1998, 4, 31), 0, 0, t));
  EXPECT_FALSE(fileops::DosDateTimeToUtc(Date(1998, 1, 1), Time(24, 0, 0), 0, t));
}

}  // namespace
