// The association record and lists: name comparison, "^" cutting, most-recently-used order and
// icon ownership.
#include <gtest/gtest.h>

#include <vector>

#include "exec/exec_link_info.h"
#include "os/services.h"
#include "table/sm_dat.h"

namespace {

TEST(SameFileNameTest, IgnoresCaseAndOneLayerOfQuotes) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"notepad.exe", "NOTEPAD.EXE", true},
      {"\"NOTEPAD.EXE\"", "notepad.exe", true},
      {"notepad.exe", "\"notepad.exe\" %1", true},  // the quoted part alone is compared
      {"\"C:\\a b\\x.exe\" -n", "\"c:\\A B\\X.EXE\"", true},
      {"notepad.exe", "notepad.ex", false},
      {"\"a\"", "\"b\"", false},
      {"README", "README.TXT", false},
      {"", "", true},
      {"\x95\x5c", "\x95\x5c", true},   // 表
      {"\x95\x5c", "\x95\x7c", false},  // 表 and 迫 differ in their trail bytes only
  };
  for (const auto& c : cases) {
    EXPECT_EQ(exec::SameFileName(c.a, c.b) == 0, c.same) << c.a << " | " << c.b;
    EXPECT_EQ(exec::SameFileName(c.b, c.a) == 0, c.same) << c.b << " | " << c.a;
  }
}

// The quick comparison of plain texts gives the system's answer: every pair of printable ASCII
// characters, alone and inside a name, and texts with the characters a collation treats apart.
TEST(SameFileNameTest, TheQuickComparisonAgreesWithTheSystem) {
  int checked = 0;
  for (int x = 0x20; x <= 0x7E; ++x) {
    for (int y = 0x20; y <= 0x7E; ++y) {
      if (x == '"' || y == '"') continue;
      const std::string pairs[][2] = {{std::string(1, char(x)), std::string(1, char(y))},
                                      {"f" + std::string(1, char(x)) + ".t",
                                       "F" + std::string(1, char(y)) + ".T"}};
      for (const auto& p : pairs) {
        const bool system = os::Sys().CompareNoCase(p[0].c_str(), p[1].c_str()) == 0;
        ASSERT_EQ(exec::SameFileNameEqual(p[0].c_str(), p[1].c_str()), system)
            << "[" << p[0] << "] [" << p[1] << "]";
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 17000);
  const struct {
    const char* a;
    const char* b;
  } texts[] = {{"co-op", "coop"},   {"a'b", "ab"},        {".TXT", ".txt"},  {"README", "readme "},
               {"\"a\"", "A"},     {"\"a.exe\" x", "A.EXE"}, {"\x83\x41", "\x83\x61"},
               {"", ""},            {"a", ""}};
  for (const auto& t : texts)
    EXPECT_EQ(exec::SameFileNameEqual(t.a, t.b), exec::SameFileName(t.a, t.b) == 0)
        << t.a << " " << t.b;
}

TEST(CutAtCaretTest, CutsAtTheFirstSingleByteCaret) {
  struct Case {
    const char* text;
    const char* cut;
  } cases[] = {
      {"notepad.exe ^.txt", "notepad.exe "},
      {"a^b^c", "a"},
      {"^", ""},
      {"plain", "plain"},
      {"\x83\x5e^x", "\x83\x5e"},  // the first 0x5E is the trail byte of a double-byte character
      {"\x83\x5e", "\x83\x5e"},
  };
  for (const auto& c : cases) EXPECT_EQ(exec::CutAtCaret(c.text), c.cut) << c.text;
}

std::vector<std::string> Keys(const exec::AssociationList& list) {
  std::vector<std::string> keys;
  for (const auto& r : list) keys.push_back(r->key);
  return keys;
}

TEST(AssociationListTest, FoundRecordsMoveToTheFrontAndKeepTheirAddress) {
  exec::AssociationList list;
  exec::ExecLinkInfo* a = &list.Append("A", "a.exe");
  list.Append("B", "b.exe");
  exec::ExecLinkInfo* c = &list.Append("C", "c.exe");
  EXPECT_EQ(list.Find("c"), c);  // Find alone changes no order
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(list.FindAndMoveToFront("\"c\""), c);
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"C", "A", "B"}));
  EXPECT_EQ(list.FindAndMoveToFront("a"), a);
  EXPECT_EQ(a->command, "a.exe");
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"A", "C", "B"}));
  EXPECT_EQ(list.FindAndMoveToFront("D"), nullptr);
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"A", "C", "B"}));
}

// Plain keys are compared folded, the others by the system; the first record that matches in
// list order is found either way.
TEST(AssociationListTest, PlainAndOtherKeysAreFoundAlike) {
  exec::AssociationList list;
  exec::ExecLinkInfo& quoted = list.Append("\"NOTEPAD.EXE\"", "q");
  exec::ExecLinkInfo& plain = list.Append(".Txt", "p");
  exec::ExecLinkInfo& wide = list.Append("\x83\x41.TXT", "w");  // ア.TXT
  const struct {
    const char* query;
    const exec::ExecLinkInfo* found;
  } cases[] = {{"notepad.exe", &quoted}, {"\"notepad.exe\"", &quoted}, {".TXT", &plain},
               {".txt", &plain},         {"\x83\x41.txt", &wide},    {".tx", nullptr},
               {"", nullptr}};
  for (const auto& c : cases) EXPECT_EQ(list.Find(c.query), c.found) << c.query;
  list.Append("\".txt\"", "second");  // also matches ".txt", but comes later
  EXPECT_EQ(list.FindAndMoveToFront(".TXT"), &plain);
  EXPECT_EQ(list.begin()->get(), &plain);
}

TEST(AssociationListTest, KindsNameTheirOwnLists) {
  exec::Associations lists;
  lists.List(exec::AssociationKind::kByExtension).Append(".TXT", "e");
  lists.List(exec::AssociationKind::kByName).Append("README", "n");
  lists.List(exec::AssociationKind::kByFullName).Append("README.TXT", "f");
  EXPECT_EQ(Keys(lists.extensions), std::vector<std::string>{".TXT"});
  EXPECT_EQ(Keys(lists.names), std::vector<std::string>{"README"});
  EXPECT_EQ(Keys(lists.fullNames), std::vector<std::string>{"README.TXT"});
}

std::vector<void*> g_destroyed;

TEST(ExecLinkInfoTest, DestroysItsIconsOnlyWhenItOwnsThem) {
  table::SetIconReleaseHooks([](void* icon) { g_destroyed.push_back(icon); }, nullptr);
  int large = 0, small = 0;
  struct Case {
    bool owns;
    void* largeIcon;
    void* smallIcon;
    std::vector<void*> destroyed;
  } cases[] = {
      {true, &large, &small, {&large, &small}},
      {true, &large, nullptr, {&large}},
      {false, &large, &small, {}},
  };
  for (const Case& c : cases) {
    g_destroyed.clear();
    {
      exec::AssociationList list;
      exec::ExecLinkInfo& r = list.Append(".X", "x");
      r.ownsIcons = c.owns;
      r.largeIcon = c.largeIcon;
      r.smallIcon = c.smallIcon;
    }
    EXPECT_EQ(g_destroyed, c.destroyed);
  }
  table::SetIconReleaseHooks(nullptr, nullptr);
}

}  // namespace
