#include "settings/display_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "os/services.h"
#include "tests/unit/app_fixture.h"

namespace {

using settings::CustomColours;

TEST(ColourSlots, SlotOrderMatchesThePaneColours) {
  frame::PaneSettings p;
  const settings::ColourSlots defaults = settings::ColourSlotsOf(p);
  // Slot order with the default colours: names, hidden, read-only, system, background,
  // selected, focus.
  const settings::ColourSlots want = {frame::Rgb{0, 0, 0},     frame::Rgb{0, 0, 255},
                                 frame::Rgb{0, 128, 0},   frame::Rgb{255, 0, 255},
                                 frame::Rgb{255, 255, 255}, frame::Rgb{255, 0, 0},
                                 frame::Rgb{0, 0, 192}};
  EXPECT_EQ(defaults, want);
  settings::ColourSlots changed;
  for (int i = 0; i < settings::kColourSlots; ++i)
    changed[static_cast<std::size_t>(i)] = {static_cast<uint8_t>(i), static_cast<uint8_t>(10 + i),
                                            static_cast<uint8_t>(20 + i)};
  settings::SetColourSlots(p, changed);
  EXPECT_EQ(p.background, (frame::Rgb{4, 14, 24}));
  EXPECT_EQ(p.focus, (frame::Rgb{6, 16, 26}));
  EXPECT_EQ(settings::ColourSlotsOf(p), changed);
}

using CustomColourTest = testutil::AppDirTest;

TEST_F(CustomColourTest, FileOfOtherSizesGivesWhite) {
  CustomColours white;
  white.fill(settings::kWhite);
  std::string good(64, '\0');
  for (int i = 0; i < 64; ++i) good[static_cast<std::size_t>(i)] = static_cast<char>(i);
  CustomColours fromGood;
  for (uint32_t i = 0; i < 16; ++i)
    fromGood[i] = (4 * i) | (4 * i + 1) << 8 | (4 * i + 2) << 16 | (4 * i + 3) << 24;
  const std::string shortFile = good.substr(0, 63), longFile = good + "x", empty;
  struct Case {
    const char* name;
    const std::string* bytes;  // null: no file
    CustomColours want;
  } cases[] = {
      {"64 bytes", &good, fromGood}, {"missing", nullptr, white}, {"short", &shortFile, white},
      {"long", &longFile, white},    {"empty", &empty, white},
  };
  const std::string path = dir_.Path(settings::kCustomColourFileName);
  for (const Case& c : cases) {
    if (testutil::FileExists(path)) {
      ASSERT_TRUE(os::Fs().DeleteFile(path.c_str()));
    }
    if (c.bytes) {
      ASSERT_TRUE(testutil::WriteFileBytes(path, *c.bytes));
    }
    EXPECT_EQ(settings::ReadCustomColours(path), c.want) << c.name;
  }
}

TEST_F(CustomColourTest, WrittenColoursReadBackAndAFailedWriteKeepsTheOldFile) {
  const std::string path = dir_.Path(settings::kCustomColourFileName);
  CustomColours c;
  for (uint32_t i = 0; i < 16; ++i) c[i] = 0x00010203u * (i + 1);
  ASSERT_TRUE(settings::WriteCustomColours(path, c));  // made when missing
  EXPECT_EQ(testutil::ReadFileBytes(path).size(), 64u);
  EXPECT_EQ(settings::ReadCustomColours(path), c);
  c[0] = 0x00ABCDEFu;
  ASSERT_TRUE(settings::WriteCustomColours(path, c));  // replaced
  EXPECT_EQ(settings::ReadCustomColours(path)[0], 0x00ABCDEFu);
  // A folder where the file would go cannot be written: false, nothing left behind.
  const std::string blocked = dir_.Path("nodir\\") + settings::kCustomColourFileName;
  EXPECT_FALSE(settings::WriteCustomColours(blocked, c));
  EXPECT_FALSE(testutil::FileExists(blocked + ".new"));
}

TEST(IconSpacingFields, FormatAndParse) {
  struct Case {
    long value;
    const char* text;
  } formats[] = {{90, " 90"}, {0, ""}, {5, "  5"}, {1024, "1024"}, {-3, " -3"}};
  for (const Case& c : formats) EXPECT_EQ(settings::FormatSpacing(c.value), c.text) << c.value;
  struct Parse {
    const char* text;
    long want;  // 0: refused
  } parses[] = {{" 90", 90}, {"25", 25}, {"0", 0},      {"-5", 0},       {"abc", 0},
                {"", 0},     {"12x", 12}, {"1234567890", 123456789}, {"  40", 40}};
  for (const Parse& p : parses) EXPECT_EQ(settings::ParseSpacing(p.text), p.want) << p.text;
}

TEST(ViewData, ChangeIgnoresTheCaseOfTheTypes) {
  struct Case {
    const char* oldTypes;
    uint16_t oldBits;
    const char* newTypes;
    uint16_t newBits;
    bool changed;
  } cases[] = {
      {"bak tmp", 3, "BAK Tmp", 3, false}, {"bak tmp", 3, "bak", 3, true},
      {"bak", 3, "bak", 0x13, true},       {"", 0, "", 0, false},
      {"bak", 0, "", 0, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(settings::ViewDataChanged(c.oldTypes, c.oldBits, c.newTypes, c.newBits), c.changed)
        << c.oldTypes << " -> " << c.newTypes;
}

}  // namespace
