// Texts of the listing: sizes, free space, dates and times, line texts and the title.
#include <gtest/gtest.h>

#include "table/dos_time.h"
#include "table/layout_text.h"
#include "table/size_text.h"
#include "tests/unit/table_test_support.h"

namespace {

constexpr uint64_t kGiB = 1073741824ull;

TEST(TableTextTest, SizeTextRoundsDownToTwoDecimals) {
  struct Case {
    double bytes;
    const char* text;
  } cases[] = {
      {0, "0 Bytes"},
      {1023, "1023 Bytes"},
      {1024, "1.00 KB"},
      {1535, "1.49 KB"},
      {1177, "1.14 KB"},  // 1.1494...: never rounded up
      {1048575, "1023.99 KB"},
      {1048576, "1.00 MB"},
      {1205862, "1.14 MB"},
      {1073741823, "1023.99 MB"},
      {1073741824, "1.00 GB"},
      {5.0 * 1073741824 + 536870912, "5.50 GB"},
      {4398046511104.0, "4096.00 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(table::SizeText(c.bytes), c.text) << c.bytes;
}

TEST(TableTextTest, FreeSpaceTextUsesTheUnitOfEachAmount) {
  struct Case {
    uint64_t freeBytes;
    uint64_t total;
    const char* text;
  } cases[] = {
      {0, 1023, "0 bytes free / 1023 bytes total"},
      {1024, 1024, "1.00 KB free / 1.00 KB total"},
      {1048575, 1048576, "1023.99 KB free / 1.00 MB total"},
      {1073741823, 1073741824, "1023.99 MB free / 1.00 GB total"},
      // 4 GiB and more: the whole gigabytes of the high word plus the rest.
      {4 * kGiB, 4 * kGiB + kGiB / 2, "4.00 GB free / 4.50 GB total"},
      {(5ull << 32) + 1073741823, 1ull << 40, "20.99 GB free / 1024.00 GB total"},
  };
  for (const auto& c : cases) EXPECT_EQ(table::FormatFreeSpace(c.freeBytes, c.total), c.text);
}

TEST(TableTextTest, DosDateAndTimeInLocalTime) {
  struct Case {
    int y, mo, d, h, mi, s;
    const char* date;
    const char* time;
  } cases[] = {
      {2005, 3, 7, 13, 45, 31, "05/03/07", "13:45:30"},
      {1999, 12, 31, 23, 59, 59, "99/12/31", "23:59:58"},
      {1980, 1, 1, 0, 0, 0, "80/01/01", "00:00:00"},
      {2024, 2, 29, 6, 7, 8, "24/02/29", "06:07:08"},
  };
  int32_t bias = -540;  // Tokyo
  for (const auto& c : cases) {
    // UTC of the local moment.
    os::FileTime ft = tabletest::LocalFileTime(c.y, c.mo, c.d, c.h, c.mi, c.s);
    int64_t shift = static_cast<int64_t>(os::Sys().TimeZoneBiasMinutes() - bias) * 60 * 10000000;
    table::DosDateTime dt = table::ToLocalDosDateTime(ft - shift, bias);
    EXPECT_EQ(table::DateLineText(dt.date, false), c.date);
    EXPECT_EQ(table::DateLineText(dt.date, true), std::string(" ") + c.date);
    EXPECT_EQ(table::TimeLineText(dt.time, false), c.time);
    EXPECT_EQ(table::TimeLineText(dt.time, true), std::string(" ") + c.time);
  }
  // Outside what a DOS date can hold.
  table::DosDateTime early = table::ToLocalDosDateTime(0, 0);
  EXPECT_EQ(table::DateLineText(early.date, false), "80/01/01");
  EXPECT_EQ(table::TimeLineText(early.time, false), "00:00:00");
  table::DosDateTime late = table::ToLocalDosDateTime(0xFFFFFFFFFFFFFFFFull, 0);
  EXPECT_EQ(table::DateLineText(late.date, false), "07/12/31");
}

TEST(TableTextTest, SizeAndAttributeLines) {
  table::SM_DAT dir;
  dir.attributes = 0x10;
  table::SM_DAT file;
  file.attributes = 0x27;
  file.size = 12345;
  table::SM_DAT big;
  big.size = 5000000000LL;
  EXPECT_EQ(table::SizeLineText(dir, false), "<DIR>");
  EXPECT_EQ(table::SizeLineText(dir, true), "         <DIR>");
  EXPECT_EQ(table::SizeLineText(file, false), "12345 Bytes");
  EXPECT_EQ(table::SizeLineText(file, true), "         12345");
  EXPECT_EQ(table::SizeLineText(big, true), "    5000000000");
  struct Case {
    uint32_t attributes;
    const char* icon;
  } cases[] = {{0x00, ""}, {0x01, "R"}, {0x02, "H"}, {0x04, "S"}, {0x20, "A"},
               {0x27, "RHSA"}, {0x31, "RA"}, {0x80, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(table::AttrLineText(c.attributes, false), c.icon);
    EXPECT_EQ(table::AttrLineText(c.attributes, true), std::string(" ") + c.icon);
  }
}

class TitleTest : public tabletest::TableTest {};

TEST_F(TitleTest, TitleShowsDirectoryMaskCountAndFreeSpace) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  auto t = Open(std::string(), "*.txt");
  const std::string& title = t->TitleText();
  std::string head = dir_.Dir() + "*.txt  3 file(s).  ";
  EXPECT_EQ(title.compare(0, head.size(), head), 0) << title;
  EXPECT_NE(title.find(" free / "), std::string::npos);
  EXPECT_EQ(view_.title, title);
  EXPECT_EQ(view_.titleDirectory, t->path());
}

TEST_F(TitleTest, LongTitleIsCutAndLosesItsCount) {
  auto t = Open();
  struct Case {
    std::size_t maskLength;
    bool counted;
  } cases[] = {{1183 - dir_.Dir().size(), true}, {1184 - dir_.Dir().size(), false},
               {3000, false}};
  for (const auto& c : cases) {
    t->SetMask(std::string(c.maskLength, 'm'));
    const std::string& title = t->TitleText();
    EXPECT_EQ(title.find("file(s)") != std::string::npos, c.counted) << c.maskLength;
    EXPECT_LE(title.size(), 1283u + (c.counted ? 200u : 0u));
    if (!c.counted) {
      EXPECT_EQ(title.size(), std::min<std::size_t>(1283, dir_.Dir().size() + c.maskLength));
    }
  }
  // A double-byte character is never cut in half at the limit.
  t->SetMask(std::string(1283 - dir_.Dir().size() - 1, 'm') + "\x95\x5c");
  EXPECT_EQ(t->TitleText().back(), 'm');
}

}  // namespace
