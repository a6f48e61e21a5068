// Fuzzes the date and time fields of the attribute dialog: the input is "date NUL time NUL"
// followed by bytes taken as a DOS date, a DOS time and a time-zone bias.
// Checked: every text is read from a buffer of exactly its size (the sanitizer sees a read past
// it); an accepted date or time holds fields in range and, shown again as the dialog shows it,
// parses back to the same value; both fields together give the message of the first failing
// one and a value only when both parse; every valid DOS date and time the dialog shows parses
// back to itself, and converts to a file time that grows with the date and time.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fileops/date_time_parse.h"
#include "tests/fuzz/input_parts.h"

namespace {

using fuzzparts::NextPart;

using fileops::FieldParse;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_date_time: %s\n", what);
  std::abort();
}

// A C string in a heap block of exactly its size.
std::unique_ptr<char[]> Exact(std::string_view s) {
  std::unique_ptr<char[]> p(new char[s.size() + 1]);
  if (!s.empty()) std::memcpy(p.get(), s.data(), s.size());
  p[s.size()] = '\0';
  return p;
}

bool ValidDate(uint16_t d) {
  const int month = (d >> 5) & 0x0F, day = d & 0x1F;
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}
bool ValidTime(uint16_t t) { return (t >> 11) <= 23 && ((t >> 5) & 0x3F) <= 59 && (t & 0x1F) <= 29; }

void RoundTripDate(uint16_t date) {
  const std::string shown = fileops::FormatDialogDate(date);
  uint16_t back = 0;
  if (fileops::ParseDosDate(Exact(shown).get(), back) != FieldParse::kOk || back != date)
    Fail("a date shown does not read back");
}

void RoundTripTime(uint16_t time) {
  const std::string shown = fileops::FormatDialogTime(time);
  uint16_t back = 0;
  if (fileops::ParseDosTime(Exact(shown).get(), back) != FieldParse::kOk || back != time)
    Fail("a time shown does not read back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 512) return 0;
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string_view dateText = NextPart(in);
  const std::string_view timeText = NextPart(in);
  const auto date = Exact(dateText);
  const auto time = Exact(timeText);

  uint16_t d = 0xBEEF, t = 0xBEEF;
  const FieldParse dr = fileops::ParseDosDate(date.get(), d);
  const FieldParse tr = fileops::ParseDosTime(time.get(), t);
  if (dr == FieldParse::kOk) {
    if (!ValidDate(d)) Fail("a date accepted with a field out of range");
    RoundTripDate(d);
  } else if (d != 0xBEEF) {
    Fail("a refused date changed the result");
  }
  if (tr == FieldParse::kOk) {
    if (!ValidTime(t)) Fail("a time accepted with a field out of range");
    RoundTripTime(t);
  } else if (t != 0xBEEF) {
    Fail("a refused time changed the result");
  }

  const fileops::DateTimeFields f = fileops::ParseDateTimeFields(date.get(), time.get());
  if (dateText.empty() || timeText.empty()) {
    if (f.present || f.message) Fail("an empty field re-dates or complains");
  } else {
    const char* expect = dr == FieldParse::kFormatError   ? fileops::kMsgDateFormat
                         : dr == FieldParse::kValueError  ? fileops::kMsgDateValue
                         : tr == FieldParse::kFormatError ? fileops::kMsgTimeFormat
                         : tr == FieldParse::kValueError  ? fileops::kMsgTimeValue
                                                          : nullptr;
    if (f.message != expect) Fail("the message is not the first failure's");
    if (f.present != !expect) Fail("a value with a message, or none without");
    if (f.present && (f.date != d || f.time != t)) Fail("the fields differ from each parse");
  }

  // The bytes after the texts as values the listing may hold.
  if (in.size() >= 6) {
    uint16_t rawDate, rawTime;
    int16_t bias;
    std::memcpy(&rawDate, in.data(), 2);
    std::memcpy(&rawTime, in.data() + 2, 2);
    std::memcpy(&bias, in.data() + 4, 2);
    if (ValidDate(rawDate)) RoundTripDate(rawDate);
    if (ValidTime(rawTime)) RoundTripTime(rawTime);
    os::FileTime a = 0, b = 0;
    if (fileops::DosDateTimeToUtc(rawDate, rawTime, bias, a)) {
      if (!ValidDate(rawDate) || !ValidTime(rawTime)) Fail("an invalid date converted");
      // One DOS time step (two seconds) later is 20,000,000 ticks later, the day and month
      // carried; the last step of a day goes to the next.
      if ((rawTime & 0x1F) < 29 &&
          (!fileops::DosDateTimeToUtc(rawDate, rawTime + 1, bias, b) || b != a + 20000000u))
        Fail("two seconds later is not two seconds later");
      if (!fileops::DosDateTimeToUtc(rawDate, rawTime, bias + 1, b) || b != a + 600000000u)
        Fail("a minute of bias is not a minute");
    } else if (ValidDate(rawDate) && ValidTime(rawTime) && (rawDate & 0x1F) <= 28 &&
               bias >= 0) {
      Fail("a valid date did not convert");
    }
  }
  return 0;
}
