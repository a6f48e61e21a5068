#include "config/config_file.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "tests/unit/app_fixture.h"

namespace {

TEST(ParseLong, AtolRules) {
  struct Case {
    const char* text;
    long want;
  } cases[] = {{"42", 42},   {"  -7x", -7},  {"+3", 3}, {"x3", 0},
               {"", 0},      {"-", 0},       {"0012", 12},
               {"99999999999999999999999", INT32_MAX}, {"-99999999999999999999999", INT32_MIN},
               {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(config::ParseLong(c.text), c.want) << c.text;
  EXPECT_EQ(config::ParseLong(nullptr), 0);
}

using ConfigFileTest = testutil::AppDirTest;

TEST_F(ConfigFileTest, ValuesWithQuotesSurviveARoundTrip) {
  for (const char* v : {"plain", "\"quoted\"", "a \"b\" c", "\"", "'single'", "ends\"",
                        " lead", "trail ", "  both  ", "\ttab", "end\x1A", " ", "\v"}) {
    ASSERT_TRUE(config::WriteConfigString("S", "k", v));
    EXPECT_EQ(config::ReadConfigString("S", "k", "<d>", 1024), v);
  }
}

TEST_F(ConfigFileTest, ReadsAreCutToTheBuffer) {
  ASSERT_TRUE(config::WriteConfigString("S", "k", std::string(5000, 'v').c_str()));
  EXPECT_EQ(config::ReadConfigString("S", "k", "", 260).size(), 259u);
  EXPECT_EQ(config::ReadConfigString("S", "k", "", 1).size(), 0u);
  EXPECT_EQ(config::ReadConfigString("S", "k", "", 0).size(), 0u);
}

TEST_F(ConfigFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
  EXPECT_FALSE(testutil::FileExists(dir_.Path("sorm.cfg")));
  EXPECT_EQ(config::ReadConfigString("INST1", "WMode", "1"), "1");
  EXPECT_EQ(config::ReadConfigLong("INST1", "WMode", "1"), 1);
  EXPECT_TRUE(config::WriteConfigLong("INST1", "WMode", 2));
  EXPECT_EQ(Cfg(), "[INST1]\r\nWMode=2\r\n");
}

TEST_F(ConfigFileTest, DamagedFilesReadWithoutHarm) {
  const std::string files[] = {
      std::string("\0\0\0\xff\xfe[INST1]\nWMode=2", 17),
      "[INST1",
      "[INST1]\r\nWMode",
      std::string(100000, '['),
      "[INST1]\r\nWMode=" + std::string(70000, '9'),
  };
  for (const std::string& f : files) {
    ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("sorm.cfg"), f));
    std::string v = config::ReadConfigString("INST1", "WMode", "1");
    EXPECT_LE(v.size(), 259u);
    config::ReadConfigLong("INST1", "Show", "0");
  }
}

}  // namespace
