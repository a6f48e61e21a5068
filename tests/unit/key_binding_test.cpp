// The key-binding file: the value format, the numbers' ranges, the order of reading, a later
// binding replacing an earlier one, the built-in Tab binding, the select mode, bad and huge
// files, and the default file the program ships.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "config/config_file.h"
#include "config/instance_paths.h"
#include "config/program_context.h"
#include "os/clock.h"
#include "table/key_actions.h"
#include "table/key_binding.h"
#include "table/profile_section.h"
#include "tests/unit/table_test_support.h"
#include "tests/unit/test_util.h"

namespace {

using table::BindError;
using table::KeyBind;
using table::KeyBindings;
using table::ParseBinding;

struct ParseCase {
  const char* value;
  BindError error;
  KeyBind bind;
};

const std::string kArg259(259, 'a');
const std::string kArg260(260, 'a');

TEST(KeyBindingParse, ValuesAndTheirFaults) {
  const ParseCase cases[] = {
      {"37;0;111", BindError::kNone, {37, 0, 111, ""}},
      {";;37;;;1;;;111;;", BindError::kNone, {37, 1, 111, ""}},
      {" 37 ; 2 ; 103 ", BindError::kNone, {37, 2, 103, ""}},
      {"13;0;0;notepad.exe a b.txt", BindError::kNone, {13, 0, 0, "notepad.exe a b.txt"}},
      {"13;0;0;first;second", BindError::kNone, {13, 0, 0, "first"}},
      {"13;0;0;", BindError::kNone, {13, 0, 0, ""}},
      {"1;7;141", BindError::kNone, {1, 7, 141, ""}},
      {"255;0;44", BindError::kNone, {255, 0, 44, ""}},
      {"37;0", BindError::kTooFewFields, {}},
      {";;;", BindError::kTooFewFields, {}},
      {"", BindError::kTooFewFields, {}},
      {"x;0;1", BindError::kNotANumber, {}},
      {"37;0;1x", BindError::kNotANumber, {}},
      {"37;0 1;1", BindError::kNotANumber, {}},
      {"99999999999999999999;0;1", BindError::kNotANumber, {}},
      {"0;0;1", BindError::kKeyOutOfRange, {}},
      {"256;0;1", BindError::kKeyOutOfRange, {}},
      {"-1;0;1", BindError::kKeyOutOfRange, {}},
      {"2147483647;0;1", BindError::kKeyOutOfRange, {}},
      {"37;8;1", BindError::kModifiersOutOfRange, {}},
      {"37;-1;1", BindError::kModifiersOutOfRange, {}},
      {"37;0;45", BindError::kUnknownAction, {}},
      {"37;0;99", BindError::kUnknownAction, {}},
      {"37;0;142", BindError::kUnknownAction, {}},
      {"37;0;-1", BindError::kUnknownAction, {}},
  };
  for (const ParseCase& c : cases) {
    table::ParsedBinding p = ParseBinding(c.value);
    EXPECT_EQ(p.error, c.error) << c.value;
    if (c.error == BindError::kNone) {
      EXPECT_EQ(p.bind, c.bind) << c.value;
    }
  }
}

TEST(KeyBindingParse, ArgumentAndValueLengths) {
  table::ParsedBinding p = ParseBinding("13;0;0;" + kArg259);
  EXPECT_EQ(p.error, BindError::kNone);
  EXPECT_EQ(p.bind.argument, kArg259);
  EXPECT_EQ(ParseBinding("13;0;0;" + kArg260).error, BindError::kArgumentTooLong);
  // A value the 1024-byte buffer would cut is not taken, whatever it ends in.
  std::string longValue = "13;0;0;x" + std::string(1015, ';');
  ASSERT_EQ(longValue.size(), 1023u);
  EXPECT_EQ(ParseBinding(longValue).error, BindError::kValueTooLong);
  EXPECT_EQ(ParseBinding(longValue.substr(0, 1022)).error, BindError::kNone);
}

TEST(KeyBindingParse, DecimalNumbers) {
  struct Case {
    const char* text;
    std::optional<int32_t> want;
  } cases[] = {
      {"0", 0},           {"+5", 5},          {" 12\t", 12},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt}, {"-2147483649", std::nullopt},
      {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt},
      {"1 2", std::nullopt}, {"0x10", std::nullopt}, {"+-1", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(table::ParseDecimal(c.text), c.want) << c.text;
}

TEST(KeyBindings, OnlyTabSwitchesPanesBeforeAFileIsRead) {
  KeyBindings b;
  ASSERT_EQ(b.size(), 1u);
  const KeyBind* tab = b.Find(9, 0);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->action, table::kActionSwitchPane);
  EXPECT_EQ(b.Find(9, table::kModShift), nullptr);
  EXPECT_EQ(b.Find(40, 0), nullptr);
  EXPECT_EQ(b.selectMode(), 3u);
  EXPECT_EQ(b.Find(0, 0), nullptr);
  EXPECT_EQ(b.Find(100000, 0), nullptr);
  EXPECT_EQ(b.Find(9, 8), nullptr);
}

TEST(KeyBindings, ALaterBindingReplacesAnEarlierOne) {
  KeyBindings b;
  b.LoadText(
      "[Keybind]\n"
      "0=40;0;108\n"
      "1=38;0;105\n"
      "2=40;0;118\n"
      "3=9;0;12\n");
  EXPECT_EQ(b.size(), 3u);
  EXPECT_EQ(b.Find(40, 0)->action, 118);
  EXPECT_EQ(b.Find(9, 0)->action, 12);  // the built-in Tab binding too
  std::vector<KeyBind> all = b.All();
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].key, 38u);  // in the order made, a replaced one at its new place
  EXPECT_EQ(all[1].key, 40u);
  EXPECT_EQ(all[2].key, 9u);
}

TEST(KeyBindings, WhatFindGaveStaysValidWhileMoreKeysAreBound) {
  KeyBindings b;
  b.Bind(KeyBind{65, 2, 100, "arg"});
  const KeyBind* found = b.Find(65, 2);
  ASSERT_NE(found, nullptr);
  // Every other key with every modifier: the table grows to its largest.
  for (uint32_t mods = 0; mods < 8; ++mods)
    for (uint32_t key = 1; key < 256; ++key)
      if (key != 65 || mods != 2) b.Bind(KeyBind{key, static_cast<uint16_t>(mods), 101, {}});
  EXPECT_EQ(b.size(), 8u * 255u);
  EXPECT_EQ(b.Find(65, 2), found);
  EXPECT_EQ(found->argument, "arg");
  EXPECT_EQ(b.Find(9, 0)->action, 101);  // Tab replaced in place
  EXPECT_EQ(b.All().back().key, 255u);
}

TEST(KeyBindings, ReadingStopsAtTheFirstMissingOrEmptyNumberAndSkipsBadValues) {
  struct Case {
    const char* what;
    const char* text;
    uint32_t read, skipped;
    std::size_t bindings;
  } cases[] = {
      {"gap", "[Keybind]\n0=40;0;108\n2=38;0;105\n", 1, 0, 2},
      {"empty value", "[Keybind]\n0=40;0;108\n1=\n2=38;0;105\n", 1, 0, 2},
      {"blank value", "[Keybind]\n0=40;0;108\n1=   \n2=38;0;105\n", 1, 0, 2},
      {"quoted empty", "[Keybind]\n0=\"\"\n1=38;0;105\n", 0, 0, 1},
      {"bad values skipped", "[Keybind]\n0=junk\n1=40;9;108\n2=38;0;105\n3=46;0;4\n", 4, 2, 3},
      {"no section", "[Other]\n0=40;0;108\n", 0, 0, 1},
      {"names without case", "[KEYBIND]\r\n 0 = 40;0;108 \r\n1='38;0;105'\r\n", 2, 0, 3},
      {"first section wins", "[Keybind]\n0=40;0;108\n[Keybind]\n1=38;0;105\n", 1, 0, 2},
      {"first key wins", "[Keybind]\n0=40;0;108\n0=38;0;105\n", 1, 0, 2},
      {"leading zeros are other keys", "[Keybind]\n00=40;0;108\n", 0, 0, 1},
      {"byte-order mark", "\xEF\xBB\xBF[Keybind]\n0=40;0;108\n", 1, 0, 2},
      {"lone CR lines", "[Keybind]\r0=40;0;108\r1=38;0;105\r", 2, 0, 3},
  };
  for (const Case& c : cases) {
    KeyBindings b;
    KeyBindings::LoadReport r = b.LoadText(c.text);
    EXPECT_EQ(r.valuesRead, c.read) << c.what;
    EXPECT_EQ(r.skipped, c.skipped) << c.what;
    EXPECT_EQ(b.size(), c.bindings) << c.what;
  }
}

TEST(KeyBindings, SelectMode) {
  struct Case {
    const char* text;
    uint32_t want;
  } cases[] = {
      {"[SelectMode]\nMode=0\n", 0},  {"[SelectMode]\nMode=2\n", 2},
      {"[selectmode]\nmode= 1 \n", 1}, {"[SelectMode]\nMode=-1\n", 3},
      {"[SelectMode]\nMode=abc\n", 3}, {"[SelectMode]\nMode=99999999999\n", 3},
      {"[SelectMode]\n", 3},          {"", 3},
  };
  for (const Case& c : cases) {
    KeyBindings b;
    b.LoadText(c.text);
    EXPECT_EQ(b.selectMode(), c.want) << c.text;
  }
}

TEST(KeyBindings, BinaryJunkBindsNothingOutOfRange) {
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<unsigned char>(seed >> 16);
  };
  const char alphabet[] = "[]=;0123456789\r\n\0 -Keybind";
  for (int round = 0; round < 200; ++round) {
    std::string text = "[Keybind]\n";
    for (int i = 0; i < 2000; ++i) {
      unsigned char c = next();
      text.push_back(c < 128 ? alphabet[c % (sizeof(alphabet) - 1)] : static_cast<char>(c));
      if (i % 97 == 0) text += "\n" + std::to_string(i / 97) + "=";
    }
    KeyBindings b;
    b.LoadText(text);
    for (const KeyBind& k : b.All()) {
      ASSERT_GE(k.key, 1u);
      ASSERT_LE(k.key, 255u);
      ASSERT_LE(k.modifiers, 7u);
      ASSERT_TRUE(table::IsKnownAction(k.action));
      ASSERT_LE(k.argument.size(), 259u);
    }
  }
}

TEST(ProfileSection, ValuesAsTheProfileFunctionsReadThem) {
  static const char kText[] =
      "top=1\n"
      "[ Sec ]\n"
      "a = \"quoted\" \n"
      "b='x'\n"
      "c=\"unbalanced\n"
      "noequals\n"
      "d=with\0nul\n"
      "[Sec]\n"
      "e=second section\n";
  const std::string text(kText, sizeof(kText) - 1);
  table::ProfileSection s(std::string_view(text.data(), text.size()), "sec");
  EXPECT_TRUE(s.found());
  EXPECT_EQ(s.Value("A"), "quoted");
  EXPECT_EQ(s.Value("b"), "x");
  EXPECT_EQ(s.Value("c"), "\"unbalanced");
  EXPECT_EQ(s.Value("d"), "with");
  EXPECT_EQ(s.Value("noequals"), std::nullopt);
  EXPECT_EQ(s.Value("e"), std::nullopt);
  EXPECT_EQ(s.Value("top"), std::nullopt);
  EXPECT_FALSE(table::ProfileSection(text, "missing").found());
}

class KeyBindingFileTest : public tabletest::TableTest {};

TEST_F(KeyBindingFileTest, TheFileSitsBesideTheConfigurationUnlessItsNameHasABackslash) {
  const std::string cfgDir = config::DirectoryOf(config::Context().configFilePath);
  EXPECT_EQ(table::KeyBindingFilePath(), cfgDir + "explorer.cfg");
  ASSERT_TRUE(config::WriteConfigString("Keybind", "File", "mine.cfg"));
  EXPECT_EQ(table::KeyBindingFilePath(), cfgDir + "mine.cfg");
  ASSERT_TRUE(config::WriteConfigString("Keybind", "File", dir_.Path("keys.cfg").c_str()));
  EXPECT_EQ(table::KeyBindingFilePath(), dir_.Path("keys.cfg"));
  ASSERT_TRUE(config::WriteConfigString("Keybind", "File", std::string(250, 'k').c_str()));
  EXPECT_EQ(table::KeyBindingFilePath(), "");  // would not fit in a path
}

TEST_F(KeyBindingFileTest, MissingFileLeavesOnlyTab) {
  KeyBindings b = table::LoadProcessKeyBindings();
  EXPECT_EQ(b.size(), 1u);
  EXPECT_NE(b.Find(9, 0), nullptr);
  KeyBindings c;
  EXPECT_FALSE(c.LoadFile(dir_.Path("nothing.cfg")).readFile);
  EXPECT_FALSE(c.LoadFile("").readFile);
  EXPECT_FALSE(c.LoadFile(std::string(300, 'x')).readFile);
}

TEST_F(KeyBindingFileTest, AHundredThousandKeysReadInOnePass) {
  // Keys cycle over 256 key codes and 8 modifier sets; the last value of each pair wins.
  std::string text = "[SelectMode]\nMode=1\n[Keybind]\n";
  text.reserve(3 << 20);
  char line[64];
  for (int i = 0; i < 100000; ++i) {
    std::snprintf(line, sizeof(line), "%d=%d;%d;%d\n", i, 1 + i % 255, (i / 255) % 8,
                  103 + i % 24);
    text += line;
  }
  ASSERT_TRUE(testutil::WriteFileBytes(table::KeyBindingFilePath(), text));
  const uint64_t start = os::MonotonicMicros();
  KeyBindings b = table::LoadProcessKeyBindings();
  const uint64_t micros = os::MonotonicMicros() - start;
  EXPECT_EQ(b.selectMode(), 1u);
  EXPECT_EQ(b.size(), 255u * 8);  // Tab without modifiers was replaced too
  // Pair (key 1 + i % 255, modifiers (i / 255) % 8) was last written by the highest such i.
  int last = -1;
  for (int i = 0; i < 100000; ++i)
    if (1 + i % 255 == 40 && (i / 255) % 8 == 3) last = i;
  ASSERT_GE(last, 0);
  EXPECT_EQ(b.Find(40, 3)->action, 103 + last % 24);
  EXPECT_LT(micros, 10u * 1000 * 1000);  // seconds, not the minutes of one look-up per key
}

TEST_F(KeyBindingFileTest, TheShippedFileReadsWithoutFaults) {
  // The default file of the source tree, reached through the drive that maps the host root.
  std::string path = std::string("Z:") + SORM_SOURCE_DIR + "/resources/explorer.cfg";
  for (char& c : path)
    if (c == '/') c = '\\';
  KeyBindings b;
  KeyBindings::LoadReport r = b.LoadFile(path);
  ASSERT_TRUE(r.readFile) << path;
  EXPECT_GT(r.valuesRead, 40u);
  EXPECT_EQ(r.skipped, 0u);
  EXPECT_EQ(b.selectMode(), 3u);
  struct Want {
    uint32_t key;
    uint8_t mods;
    int32_t action;
  } wants[] = {
      {38, 0, 105}, {40, 0, 108}, {37, 0, 111}, {39, 0, 114},  // arrows
      {38, 1, 105}, {40, 1, 108}, {37, 1, 111}, {39, 1, 114},  // with Shift
      {33, 0, 117}, {34, 0, 118}, {36, 0, 104}, {35, 0, 107},  // pages, Home, End
      {32, 0, 100}, {13, 0, 1},   {8, 0, 130},  {45, 0, 127},  // Space, Enter, Back, Insert
      {46, 0, 4},   {113, 0, 6},  {116, 0, 3},  {117, 0, 2},   // Delete, F2, F5, F6
      {118, 0, 7},  {65, 2, 11},  {9, 0, 138},                 // F7, Ctrl+A, Tab
      {76, 2, 16},  {76, 3, 137},                              // Ctrl+L, Ctrl+Shift+L
  };
  for (const Want& w : wants) {
    const KeyBind* k = b.Find(w.key, w.mods);
    ASSERT_NE(k, nullptr) << w.key << "/" << int(w.mods);
    EXPECT_EQ(k->action, w.action) << w.key << "/" << int(w.mods);
  }
  // Escape stays free for leaving help mode, F1 for help.
  EXPECT_EQ(b.Find(27, 0), nullptr);
  EXPECT_EQ(b.Find(112, 0), nullptr);
  EXPECT_EQ(b.Find(112, 1), nullptr);
}

}  // namespace
