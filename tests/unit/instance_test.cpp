// Roles chosen by the command line, the configuration path from the registry, file paths.
#include <gtest/gtest.h>

#include "config/instance_paths.h"
#include "app/instance_role.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/fake_system.h"
#include "os/registry.h"
#include "os/services.h"

namespace {

TEST(InstanceRole, ChosenByArgumentsAndExistingWindow) {
  struct Case {
    std::vector<std::string> args;
    bool windowExists;
    int want;
  } cases[] = {
      {{}, false, 0},
      {{}, true, -1},
      {{"-CFGID", "7"}, false, 7},
      {{"-CFGID", "7"}, true, 7},
      {{"-CFGID", "65"}, true, 65},
      {{"-CFGID", "0"}, true, 0},      // 0 makes the launcher
      {{"-CFGID", "junk"}, true, 0},   // text that is not a number parses as 0
      {{"-CFGID", "12abc"}, false, 12},
      {{"-CFGID", "-1"}, false, -1},
      {{"-CFGID", "99999999999999999999"}, false, 0},
      {{"-CFGID", "66"}, false, 0},
      {{"-CFGID", "164"}, false, 0},      // a second pane's section is no window
      {{"-CFGID", "-5"}, false, 0},
      // A number that names no window while windows are open: a new window, never the
      // launcher that would open the saved windows again.
      {{"-CFGID", "99999999999999999999"}, true, -1},
      {{"-CFGID", "66"}, true, -1},
      {{"-CFGID", "164"}, true, -1},
      {{"-CFGID", "-5"}, true, -1},
      {{"-CFGID", "-2"}, true, -1},
      {{"-CFGID"}, false, 0},          // no number: as if no argument was given
      {{"-CFGID"}, true, -1},
      {{"-cfgid", "7"}, false, -1},    // compared case-sensitively
      {{"C:\\dropped\\file.txt"}, false, -1},
      {{"-CFGID", "3", "extra"}, false, 3},
  };
  for (const Case& c : cases) {
    std::string desc;
    for (auto& a : c.args) desc += "[" + a + "]";
    EXPECT_EQ(app::ChooseInstanceNumber(c.args, c.windowExists), c.want)
        << desc << " window=" << c.windowExists;
  }
}

TEST(DirectoryOf, DoubleByteAware) {
  struct Case {
    const char* path;
    const char* dir;
  } cases[] = {
      {"C:\\SORM\\SORM32.EXE", "C:\\SORM\\"},
      {"SORM32.EXE", ""},
      {"C:\\\x95\x5C\\SORM32.EXE", "C:\\\x95\x5C\\"},  // 表 ends in 0x5C
      {"C:\\dir\\\x95\x5C", "C:\\dir\\"},             // trail byte is not the last backslash
      {"\\\\server\\share\\x.exe", "\\\\server\\share\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(config::DirectoryOf(c.path), c.dir) << c.path;
}

// Removes the ConfigPath key with every user's subkey.
void ClearConfigPathKey() {
  uint32_t err = 0;
  if (auto key = os::Reg().OpenKey(os::RegRoot::kCurrentUser, config::kConfigPathKey, &err)) {
    char name[os::kMaxPath];
    while (key->EnumKey(0, name, sizeof(name)) == os::kErrSuccess)
      if (key->DeleteKey(name) != os::kErrSuccess) break;
  }
  os::Reg().DeleteKey(os::RegRoot::kCurrentUser, config::kConfigPathKey);
}

class ConfigPathTest : public testutil::AppDirTest {
 protected:
  void SetUp() override {
    AppDirTest::SetUp();
    fake_.userName = {true, false, "sormtester"};
    ClearConfigPathKey();
  }
  void TearDown() override {
    ClearConfigPathKey();
    AppDirTest::TearDown();
  }
  // The context as the program's start resolves it here.
  static config::ProgramContext Resolved() {
    config::ProgramContext c = config::Context();
    config::ResolveConfigPath(c);
    return c;
  }
  testutil::FakeSystem fake_;
  os::ScopedServices scope_{{nullptr, nullptr, nullptr, &fake_}};
};

TEST_F(ConfigPathTest, DefaultIsBesideTheProgram) {
  config::ProgramContext resolved = Resolved();
  EXPECT_FALSE(resolved.configPathFromRegistry);
  EXPECT_EQ(resolved.configFilePath, dir_.Path("sorm.cfg"));
  EXPECT_EQ(resolved.lockFilePath, dir_.Path("smlock"));
  EXPECT_EQ(resolved.helpFilePath, dir_.Path("sorm32.hlp"));
}

TEST_F(ConfigPathTest, RegistryValueFirstWordWithQuotesAndSlashes) {
  struct Case {
    const char* value;
    const char* want;
  } cases[] = {
      {"D:/conf/my.cfg", "D:\\conf\\my.cfg"},
      {"\"D:/my conf/sorm.cfg\" more words", "D:\\my conf\\sorm.cfg"},
      {"E:\\a.cfg trailing", "E:\\a.cfg"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(config::WriteConfigPathSetting(c.value), 0);
    config::ProgramContext resolved = Resolved();
    EXPECT_TRUE(resolved.configPathFromRegistry) << c.value;
    EXPECT_EQ(resolved.configFilePath, c.want) << c.value;
  }
}

TEST_F(ConfigPathTest, AQuotedBrowsedPathOfFullLengthIsReadWhole) {
  const std::string longest = "D:\\my conf\\" + std::string(239, 'c') + "\\sorm.cfg";
  const std::string bare = "D:\\myconf\\" + std::string(240, 'c') + "\\sorm.cfg";
  ASSERT_EQ(longest.size(), 259u);
  ASSERT_EQ(bare.size(), 259u);
  struct Case {
    const char* what;
    std::string value;
    std::string want;  // empty: no setting
  } cases[] = {
      {"quoted, with a blank", "\"D:\\my conf\\sorm.cfg\"", "D:\\my conf\\sorm.cfg"},
      {"quoted, the longest path", "\"" + longest + "\"", longest},
      {"bare, the longest path", bare, bare},
      {"bare, one byte over", bare + "x", ""},
      {"quoted, one byte over", "\"" + longest + "x\"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(config::WriteConfigPathSetting(c.value), 0);
    config::ProgramContext resolved = Resolved();
    EXPECT_EQ(resolved.configPathFromRegistry, !c.want.empty());
    EXPECT_EQ(resolved.configFilePath, c.want.empty() ? dir_.Path("sorm.cfg") : c.want);
  }
}

TEST_F(ConfigPathTest, EmptySettingRemovesIt) {
  ASSERT_EQ(config::WriteConfigPathSetting("D:\\x.cfg"), 0);
  ASSERT_EQ(config::WriteConfigPathSetting(""), 0);
  config::ProgramContext resolved = Resolved();
  EXPECT_FALSE(resolved.configPathFromRegistry);
  EXPECT_EQ(resolved.configFilePath, dir_.Path("sorm.cfg"));
}

// A registry that refuses every key, as under a policy that denies the user's own hive.
class RefusingRegistry final : public os::Registry {
 public:
  std::unique_ptr<os::RegKey> OpenKey(os::RegRoot, const char*, uint32_t* error) override {
    *error = kAccessDenied;
    return nullptr;
  }
  std::unique_ptr<os::RegKey> CreateKey(os::RegRoot, const char*, uint32_t* error) override {
    *error = kAccessDenied;
    return nullptr;
  }
  uint32_t DeleteKey(os::RegRoot, const char*) override { return kAccessDenied; }

 private:
  static constexpr uint32_t kAccessDenied = 5;
};

TEST_F(ConfigPathTest, ARefusedSettingIsReportedAsFailed) {
  RefusingRegistry refusing;
  os::ScopedServices scope(os::Services{nullptr, nullptr, &refusing});
  EXPECT_EQ(config::WriteConfigPathSetting("D:\\x.cfg"), -1);
  EXPECT_EQ(config::WriteConfigPathSetting(""), -1);
}

TEST_F(ConfigPathTest, RemovingOneUsersSettingKeepsAnothers) {
  ASSERT_EQ(config::WriteConfigPathSetting("D:\\mine.cfg"), 0);
  fake_.userName = {true, false, "otheruser"};
  ASSERT_EQ(config::WriteConfigPathSetting("D:\\theirs.cfg"), 0);
  ASSERT_EQ(config::WriteConfigPathSetting(""), 0);
  config::ProgramContext resolved = Resolved();
  EXPECT_FALSE(resolved.configPathFromRegistry);
  fake_.userName = {true, false, "sormtester"};
  resolved = Resolved();
  EXPECT_EQ(resolved.configFilePath, "D:\\mine.cfg");
  ASSERT_EQ(config::WriteConfigPathSetting(""), 0);
  uint32_t err = 0;
  EXPECT_EQ(os::Reg().OpenKey(os::RegRoot::kCurrentUser, config::kConfigPathKey, &err), nullptr)
      << "the key goes with the last setting";
}

TEST_F(ConfigPathTest, SettingIsPerLoginName) {
  ASSERT_EQ(config::WriteConfigPathSetting("D:\\mine.cfg"), 0);
  fake_.userName = {true, false, "someoneelse"};
  config::ProgramContext resolved = Resolved();
  EXPECT_FALSE(resolved.configPathFromRegistry);
}

TEST_F(ConfigPathTest, LongOrFailingLoginNameUsesDefaultSubkey) {
  fake_.userName = {true, false, "averyveryverylongname"};  // 15 characters or more fail
  EXPECT_EQ(config::LoginSubkeyName(), "default");
  fake_.userName = {true, true, ""};
  EXPECT_EQ(config::LoginSubkeyName(), "default");
  fake_.userName = {true, false, "fourteenchars1"};
  EXPECT_EQ(config::LoginSubkeyName(), "fourteenchars1");
}

TEST_F(ConfigPathTest, OverlongRegistryValueIsCutNotOverrun) {
  std::string huge(2000, 'x');
  ASSERT_EQ(config::WriteConfigPathSetting("C:\\" + huge), 0);
  config::ProgramContext resolved = Resolved();
  EXPECT_LT(resolved.configFilePath.size(), 260u);
}

}  // namespace
