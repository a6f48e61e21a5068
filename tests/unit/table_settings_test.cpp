// The per-pane keys of the configuration file.
#include <gtest/gtest.h>

#include "config/config_file.h"
#include "config/program_context.h"
#include "os/services.h"
#include "table/pane_settings.h"
#include "tests/unit/table_test_support.h"

namespace {

using table::PaneSettings;
using tabletest::TableTest;

class PaneSettingsTest : public TableTest {};

TEST_F(PaneSettingsTest, DefaultsWhenNothingIsConfigured) {
  PaneSettings s = table::ReadPaneSettings(3);
  EXPECT_EQ(s.viewMode, table::kIconMode);
  EXPECT_EQ(s.path, "");
  EXPECT_EQ(s.sortId, table::kSortName);
  EXPECT_EQ(s.mask, "*.*");
  EXPECT_EQ(s.cursor, "");
  EXPECT_EQ(s.viewInfo, 0);
  EXPECT_EQ(s.iconSpacingX, 90);
  EXPECT_EQ(s.iconSpacingY, 80);
  EXPECT_EQ(s.bmpIcon, 0);
  EXPECT_EQ(s.invisibleTypes.Join(), "dll sys vxd 386 drv");
  EXPECT_TRUE(s.autoAdjust);
}

TEST_F(PaneSettingsTest, SectionWithoutUsableVmodeTakesEverythingFromTheDefaults) {
  SetKey("Mask", "*.def", -1);
  SetKey("vmode", "1", -1);
  SetKey("icon_x", "120", -1);
  SetKey("Mask", "*.own", 7);
  struct Case {
    const char* vmode;  // null: key missing
    const char* mask;
    int16_t viewMode;
    int32_t iconX;
  } cases[] = {{nullptr, "*.def", 1, 120}, {"-", "*.def", 1, 120}, {"-5", "*.def", 1, 120},
               {"0", "*.own", 0, 90},      {"1", "*.own", 1, 90},  {"7", "*.own", 0, 90}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vmode ? c.vmode : "(missing)");
    ASSERT_TRUE(config::WriteConfigString(config::InstSection(7), "vmode", c.vmode));
    PaneSettings s = table::ReadPaneSettings(7);
    EXPECT_EQ(s.mask, c.mask);
    EXPECT_EQ(s.viewMode, c.viewMode);
    EXPECT_EQ(s.iconSpacingX, c.iconX);
  }
}

TEST_F(PaneSettingsTest, ValuesAreReadWithTheirRules) {
  struct Case {
    const char* key;
    const char* value;
    const char* expect;  // what the setting shows, as text
  } cases[] = {
      {"icon_x", "10", "40"},          {"icon_x", "40", "40"},        {"icon_x", "abc", "40"},
      {"icon_x", "99999999", "32767"}, {"icon_x", "1500", "1500"},
      {"icon_y", "32767", "32767"},  {"icon_y", "39", "40"},        {"icon_y", "200", "200"},
      {"Sort", "", "174"},             {"Sort", "168", "168"},        {"Sort", "12x", "12"},
      {"InvisibleExt", "", "dll sys vxd 386 drv"},
      {"InvisibleExt", "   ", "dll sys vxd 386 drv"},  // blanks are trimmed when read
      {"InvisibleExt", "\"   \"", ""},  // quoted blanks: hide nothing
      {"InvisibleExt", "\" exe   com \"", "exe com"},
      {"auto_adjust", "0", "0"},       {"auto_adjust", "7", "1"},     {"auto_adjust", "", "0"},
      {"vinfo", "31", "31"},           {"bmpicon", "1", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    SetKey("vmode", "0", 2);
    // Written as the bytes given, so a value can carry its own quotes.
    ASSERT_TRUE(os::Ini().WriteString("INST2", c.key, c.value,
                                      config::Context().configFilePath.c_str()));
    PaneSettings s = table::ReadPaneSettings(2);
    std::string got;
    std::string key = c.key;
    if (key == "icon_x") got = std::to_string(s.iconSpacingX);
    if (key == "icon_y") got = std::to_string(s.iconSpacingY);
    if (key == "Sort") got = std::to_string(s.sortId);
    if (key == "InvisibleExt") got = s.invisibleTypes.Join();
    if (key == "auto_adjust") got = s.autoAdjust ? "1" : "0";
    if (key == "vinfo") got = std::to_string(s.viewInfo);
    if (key == "bmpicon") got = std::to_string(s.bmpIcon);
    EXPECT_EQ(got, c.expect);
    ASSERT_TRUE(config::DeleteConfigSection(config::InstSection(2)));
  }
}

TEST_F(PaneSettingsTest, WriteThenReadGivesTheSameSettings) {
  PaneSettings s;
  s.viewMode = table::kListMode;
  s.path = "C:\\work\\\x95\x5c";
  s.sortId = table::kSortOldest;
  s.mask = "*.txt \"odd\"*.c";
  s.cursor = "read me.txt";
  s.viewInfo = 0x1F;
  s.iconSpacingX = 1500;  // wider than any screen of its day, still a spacing the table uses
  s.iconSpacingY = 48;
  s.bmpIcon = 1;
  s.invisibleTypes = table::InvisibleTypes::FromText("  gz   tmp ");
  s.autoAdjust = false;
  ASSERT_TRUE(table::WritePaneSettings(config::InstSection(104), s));
  EXPECT_EQ(config::ReadConfigString("INST104", "InvisibleExt", "?"), "gz tmp");
  EXPECT_EQ(config::ReadConfigString("INST104", "auto_adjust", "?"), "0");
  EXPECT_EQ(config::ReadConfigString("INST104", "vmode", "?"), "1");
  PaneSettings r = table::ReadPaneSettings(104);
  EXPECT_EQ(r.viewMode, s.viewMode);
  EXPECT_EQ(r.path, s.path);
  EXPECT_EQ(r.sortId, s.sortId);
  EXPECT_EQ(r.mask, s.mask);
  EXPECT_EQ(r.cursor, s.cursor);
  EXPECT_EQ(r.viewInfo, s.viewInfo);
  EXPECT_EQ(r.iconSpacingX, s.iconSpacingX);
  EXPECT_EQ(r.iconSpacingY, s.iconSpacingY);
  EXPECT_EQ(r.bmpIcon, s.bmpIcon);
  EXPECT_EQ(r.invisibleTypes.Join(), "gz tmp");
  EXPECT_FALSE(r.autoAdjust);
}

TEST_F(PaneSettingsTest, TableSavesItsStateWithTheCursorName) {
  MakeFile("one.txt");
  MakeFile("two.txt");
  SetKey("icon_x", "12");
  SetKey("InvisibleExt", " ");
  auto t = Open(std::string(), "*.txt");
  t->SetCursor(t->FindEntryByName("two.txt"));
  t->SetInvisibleTypesText("bak");
  ASSERT_TRUE(t->SaveSettings(-1));
  EXPECT_EQ(config::ReadConfigString("INST-1", "Cursor", "?"), "two.txt");
  EXPECT_EQ(config::ReadConfigString("INST-1", "icon_x", "?"), "40");
  EXPECT_EQ(config::ReadConfigString("INST-1", "Mask", "?"), "*.txt");
  EXPECT_EQ(config::ReadConfigString("INST-1", "Path", "?"), dir_.Dir()) << "as it was written";
  EXPECT_EQ(config::ReadConfigString("INST-1", "InvisibleExt", "?"), "bak");
  // An empty list survives saving and reading.
  t->SetInvisibleTypesText("  ");
  ASSERT_TRUE(t->SaveSettings(-1));
  EXPECT_TRUE(table::ReadPaneSettings(-1).invisibleTypes.Items().empty());
  EXPECT_EQ(config::ReadConfigString("INST-1", "Sort", "?"), "174");
  t->SetCursor(nullptr);
  ASSERT_TRUE(t->SaveSettings(5));
  EXPECT_EQ(config::ReadConfigString("INST5", "Cursor", "?"), "");
}

}  // namespace
