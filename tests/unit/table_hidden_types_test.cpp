// Hidden file types, mask splitting and the name comparison they rely on.
#include <gtest/gtest.h>

#include "os/services.h"
#include "table/hidden_types.h"
#include "table/mask.h"
#include "table/text_compare.h"

namespace {

using table::InvisibleTypes;

TEST(TableHiddenTypesTest, TextGivesTheList) {
  struct Case {
    const char* text;
    std::vector<std::string> items;
  } cases[] = {
      {"", {"dll", "sys", "vxd", "386", "drv"}},
      {" ", {}},
      {"     ", {}},
      {"gz", {"gz"}},
      {"  gz  tmp   bak ", {"gz", "tmp", "bak"}},
      {"\x95\x5c x", {"\x95\x5c", "x"}},
  };
  for (const auto& c : cases) {
    InvisibleTypes t = InvisibleTypes::FromText(c.text);
    EXPECT_EQ(t.Items(), c.items) << "[" << c.text << "]";
  }
  EXPECT_EQ(InvisibleTypes().Join(), "dll sys vxd 386 drv");
  EXPECT_EQ(InvisibleTypes::FromText("  a   b ").Join(), "a b");
  EXPECT_EQ(InvisibleTypes::FromText(" ").Join(), "");
}

TEST(TableHiddenTypesTest, ExtensionForHidingIsAfterTheLastPeriod) {
  InvisibleTypes gz = InvisibleTypes::FromText("gz DLL \x95\x5c");
  struct Case {
    const char* name;
    bool visible;
  } cases[] = {
      {"a.tar.gz", false},         // hidden although it sorts under tar.gz
      {"a.GZ", false},             // any case
      {"lib.dll", false},
      {"gz", true},                // no period: always visible
      {"a.gz.txt", true},
      {"a.", true},                // empty extension
      {".gz", false},
      {"x.\x95\x5c", false},       // 表 as extension
      {"\x95\x5c.txt", true},      // 表 before the period: its trail byte is no separator
      {"a\x83.gz", true},          // lead byte swallows the period: no extension at all
  };
  for (const auto& c : cases) EXPECT_EQ(gz.IsVisibleType(c.name), c.visible) << c.name;
  EXPECT_TRUE(InvisibleTypes::FromText(" ").IsVisibleType("x.dll"));
  EXPECT_FALSE(InvisibleTypes::FromText("").IsVisibleType("x.dll"));
}

TEST(TableHiddenTypesTest, MaskPatterns) {
  struct Case {
    std::string mask;
    std::vector<std::string> patterns;
  } cases[] = {
      {"*.*", {"*.*"}},
      {"*.txt   *.doc", {"*.txt", "*.doc"}},
      {"  a*  ", {"a*"}},
      {"", {"*.*"}},
      {"    ", {"*.*"}},
  };
  for (const auto& c : cases) EXPECT_EQ(table::MaskPatterns(c.mask), c.patterns) << c.mask;
  std::string many;
  for (int i = 0; i < 1000; ++i) many += " p" + std::to_string(i);
  auto patterns = table::MaskPatterns(many);
  ASSERT_EQ(patterns.size(), 1000u);
  EXPECT_EQ(patterns.back(), "p999");
}

// The shortcut for plain ASCII must answer as lstrcmpiA does.
TEST(TableHiddenTypesTest, SameTextNoCaseAgreesWithTheSystemComparison) {
  const char* words[] = {"abc",  "ABC",  "aBc", "abd", "ab",   "a-bc", "abc ", " abc",
                         "a_bc", "a.bc", "A.BC", "{",   "[",    "a~b",  "a'b",  "ab'",
                         "",     "dll",  "DLL",  "Dll", "dl1",  "1",    "01"};
  for (const char* a : words) {
    for (const char* b : words) {
      bool system = os::Sys().CompareNoCase(a, b) == 0;
      EXPECT_EQ(table::SameTextNoCase(a, b), system) << "[" << a << "] [" << b << "]";
    }
  }
  EXPECT_TRUE(table::SameTextNoCase("\x95\x5c.TXT", "\x95\x5c.txt"));
  EXPECT_FALSE(table::SameTextNoCase("\x83\x41", "\x83\x61"));  // trail bytes are not letters
}

}  // namespace
