#include "config/default_config.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "settings/toolbar_keywords.h"
#include "config/config_file.h"
#include "os/services.h"
#include "resources/commands.h"
#include "tests/unit/app_fixture.h"

namespace {

using DefaultConfigTest = testutil::AppDirTest;
using config::DefaultConfigResult;

TEST_F(DefaultConfigTest, MadeOnlyWhenThereIsNoConfiguration) {
  const std::string kShipped = "[BarSettings]\r\nToolBar=FCOPY \r\n";
  const std::string kLarge(config::kDefaultConfigMaxBytes + 1, ';');
  struct Case {
    const char* name;
    const std::string* shipped;  // null: no shipped file
    const char* existing;        // null: no configuration file yet
    DefaultConfigResult want;
    std::string wantConfig;      // "" with no file expected
  } cases[] = {
      {"first start", &kShipped, nullptr, DefaultConfigResult::kInstalled, kShipped},
      {"user's own file kept", &kShipped, "[Mask]\r\nmine=*.c\r\n",
       DefaultConfigResult::kAlreadyThere, "[Mask]\r\nmine=*.c\r\n"},
      {"empty user file kept", &kShipped, "", DefaultConfigResult::kAlreadyThere, ""},
      {"nothing shipped", nullptr, nullptr, DefaultConfigResult::kNoDefaults, ""},
      {"oversized shipped file", &kLarge, nullptr, DefaultConfigResult::kNoDefaults, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string cfg = dir_.Path("sorm.cfg"), def = dir_.Path("sormdef.cfg");
    if (testutil::FileExists(cfg)) {
      ASSERT_TRUE(os::Fs().DeleteFile(cfg.c_str()));
    }
    if (testutil::FileExists(def)) {
      ASSERT_TRUE(os::Fs().DeleteFile(def.c_str()));
    }
    if (c.shipped) {
      ASSERT_TRUE(testutil::WriteFileBytes(def, *c.shipped));
    }
    if (c.existing) {
      ASSERT_TRUE(testutil::WriteFileBytes(cfg, c.existing));
    }
    EXPECT_EQ(config::InstallDefaultConfig(def, cfg), c.want);
    const bool expectFile = c.existing || c.want == DefaultConfigResult::kInstalled;
    EXPECT_EQ(testutil::FileExists(cfg), expectFile);
    if (expectFile) {
      EXPECT_EQ(testutil::ReadFileBytes(cfg), c.wantConfig);
    }
    EXPECT_FALSE(testutil::FileExists(cfg + ".new"));
  }
}

TEST_F(DefaultConfigTest, ALeftoverTemporaryFileStopsTheCopyWithoutHarm) {
  // A temporary file of another starting window: this start writes nothing.
  const std::string cfg = dir_.Path("sorm.cfg"), def = dir_.Path("sormdef.cfg");
  ASSERT_TRUE(testutil::WriteFileBytes(def, "[A]\r\nk=v\r\n"));
  ASSERT_TRUE(testutil::WriteFileBytes(cfg + ".new", "other"));
  EXPECT_EQ(config::InstallDefaultConfig(def, cfg), DefaultConfigResult::kFailed);
  EXPECT_FALSE(testutil::FileExists(cfg));
  EXPECT_EQ(testutil::ReadFileBytes(cfg + ".new"), "other");
}

// The shipped file itself: its toolbar carries the everyday commands.
TEST_F(DefaultConfigTest, ShippedToolbarCarriesTheEverydayCommands) {
  const std::string shipped =
      testutil::ReadFileBytes(std::string(SORM_SOURCE_DIR) + "/resources/sormdef.cfg");
  ASSERT_FALSE(shipped.empty());
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("sorm.cfg"), shipped));
  std::vector<int> commands;
  int separators = 0;
  for (const settings::ToolbarItem& item : settings::ReadToolbarItems()) {
    if (item.kind == settings::ToolbarItem::kSeparator)
      ++separators;
    else
      commands.push_back(item.command);
  }
  for (int want : {CMD_FCOPY, CMD_FMOVE, CMD_FDELETE, CMD_FMAKEDIR, CMD_VICON, CMD_VLIST,
                   CMD_VSNAME, CMD_VSEXT, CMD_VSNEW, CMD_VSOLD, CMD_VSLARGE, CMD_VSSMALL,
                   CMD_FMARKALL}) {
    EXPECT_EQ(std::count(commands.begin(), commands.end(), want), 1) << want;
  }
  EXPECT_GE(separators, 4);
  EXPECT_FALSE(config::ReadConfigString("Mask", nullptr, "", 4096).empty());
}

}  // namespace
