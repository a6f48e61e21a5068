// os::System through os::Sys(): user name, version, ticks, starting programs, and the
// lstrcmpiA order with its sort keys (expected orders measured with lstrcmpiA in the Japanese
// locale).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "os/last_error.h"
#include "os/services.h"

#ifndef _WIN32
#include <cstdlib>
#include <ctime>

#include "os/posix/path_map.h"
#include "tests/unit/test_util.h"
#endif

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(SystemTest, UserName) {
  char small[2];
  uint32_t size = sizeof(small);
  os::SetLastError(0);
  ASSERT_FALSE(os::Sys().GetUserName(small, &size));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrInsufficientBuffer));
  const uint32_t needed = size;
  EXPECT_GT(needed, 1u);
  char buf[256];
  size = sizeof(buf);
  ASSERT_TRUE(os::Sys().GetUserName(buf, &size));
  EXPECT_EQ(size, needed);  // the size includes the terminator
  EXPECT_EQ(std::strlen(buf) + 1, needed);
}

TEST(SystemTest, VersionAndTicks) {
  EXPECT_GE(os::Sys().WindowsMajorVersion(), 4u);
  const uint32_t start = os::Sys().TickCount();
  os::Sys().Sleep(50);
  const uint32_t elapsed = os::Sys().TickCount() - start;  // unsigned: safe across a wrap
  EXPECT_GE(elapsed, 30u);  // ticks may step by 16 ms
  EXPECT_LT(elapsed, 5000u);
  EXPECT_FALSE(os::Sys().PeekPending());
  const int32_t bias = os::Sys().TimeZoneBiasMinutes();
  EXPECT_GE(bias, -14 * 60);
  EXPECT_LE(bias, 12 * 60);
}

#ifndef _WIN32
TEST(SystemTest, EmulationSettingsFromTheEnvironment) {
  EXPECT_EQ(os::Sys().WindowsMajorVersion(), 5u);
  setenv("SORM_WINVER", "4", 1);
  EXPECT_EQ(os::Sys().WindowsMajorVersion(), 4u);
  unsetenv("SORM_WINVER");

  const char* oldTz = std::getenv("TZ");
  const std::string savedTz = oldTz ? oldTz : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  EXPECT_EQ(os::Sys().TimeZoneBiasMinutes(), -540);
  setenv("TZ", "EST5", 1);
  tzset();
  EXPECT_EQ(os::Sys().TimeZoneBiasMinutes(), 300);
  if (oldTz)
    setenv("TZ", savedTz.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(SystemTest, WinExecLogsOrRunsTheCommandLine) {
  testutil::TempDir dir;
  const std::string log = os::posix::ToHostPath(dir.Path("exec.log").c_str());
  setenv("SORM_WINEXEC_LOG", log.c_str(), 1);
  EXPECT_GT(os::Sys().WinExec("notepad.exe \"C:\\a b.txt\"", 1), 31u);
  EXPECT_GT(os::Sys().WinExec("second", 1), 31u);
  unsetenv("SORM_WINEXEC_LOG");
  EXPECT_EQ(testutil::ReadFileBytes(dir.Path("exec.log")), "notepad.exe \"C:\\a b.txt\"\nsecond\n");

  // Without the log the command runs through the shell.
  const std::string marker = os::posix::ToHostPath(dir.Path("ran").c_str());
  ASSERT_GT(os::Sys().WinExec(("touch '" + marker + "'").c_str(), 1), 31u);
  const uint32_t start = os::Sys().TickCount();
  while (!testutil::FileExists(dir.Path("ran")) && os::Sys().TickCount() - start < 5000)
    os::Sys().Sleep(10);
  EXPECT_TRUE(testutil::FileExists(dir.Path("ran")));
  EXPECT_EQ(os::Sys().WinExec("", 1), 2u);
}
#endif

TEST(SystemTest, CompareNoCasePairs) {
  struct Case {
    const char* a;
    const char* b;
    int expect;
  } cases[] = {
      {nullptr, nullptr, 0}, {"", nullptr, 1}, {nullptr, "", -1},
      {"AAA", "aaa", 0}, {"aa", "AB", -1}, {"ab", "abc", -1}, {"", "a", -1},
      {"#", ".", -1}, {"_", ".", 1}, {"r", "\\", 1}, {"a", "{", 1}, {".AAA", "Aab", -1},
      {"3.5", "4.0", -1}, {"EndDialog", "_Property", 1}, {"9", "a", -1}, {"~", "0", -1},
      // Hyphen and apostrophe weigh nothing at first: word sort.
      {"-o", "/m", 1}, {"'", "-", -1}, {"`o", "-m", -1}, {"coop", "co-op", -1},
      {"co-op", "cop", -1}, {"a-", "-a", -1}, {"a'b", "ab\x01", 1},
      {"ab", "a\tb", 1}, {"a b", "ab", -1}, {"a-b", "ａb", -1},
      // CP932: full-width after half-width, katakana before hiragana, kanji after kana.
      {"a", "あ", -1}, {"Ａ", "ａ", 0}, {"a", "Ａ", -1}, {"0", "０", -1}, {"ア", "あ", -1},
      {"あい", "アア", 1}, {"ぁい", "ああ", 1}, {"ｶﾞ", "ガ", 1}, {"ｶﾞa", "ガb", -1},
      {"か", "が", -1}, {"表", "亜", 1}, {"ん", "亜", -1}, {"z", "ｱ", -1}, {"表", "能", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(os::Sys().CompareNoCase(c.a, c.b), c.expect)
        << (c.a ? c.a : "(null)") << " vs " << (c.b ? c.b : "(null)");
    if (c.a && c.b) {
      EXPECT_EQ(os::Sys().CompareNoCase(c.b, c.a), -c.expect) << c.a;
    }
  }
}

TEST(SystemTest, WordSortOrder) {
  // lstrcmpiA's order; '=' marks a name equal to the one before it.
  const std::vector<std::string> order = {
      "'", "''", "-", "--", "a", "a-", "-a", "a b", "a\tb", "a.b", "a_b", "ab", "=Ab",
      "ab\x01", "a\x01" "b", "a\x7f" "b", "a'b", "a-b", "=A-B", "a--b", "ab.", "abc", "ab-c",
      "a-bc", "b", "'b", "-b", "coop", "coop-", "coo-p", "co'op", "co'-op", "co-op", "co-o-p",
      "co-'op", "co--op", "c-oop", "-coop", "cop", "co-p"};
  for (std::size_t i = 1; i < order.size(); ++i) {
    const bool equal = order[i][0] == '=' && order[i].size() > 1;
    const std::string cur = equal ? order[i].substr(1) : order[i];
    const std::string prev = order[i - 1][0] == '=' && order[i - 1].size() > 1
                                 ? order[i - 1].substr(1)
                                 : order[i - 1];
    EXPECT_EQ(os::Sys().CompareNoCase(prev.c_str(), cur.c_str()), equal ? 0 : -1)
        << "\"" << prev << "\" before \"" << cur << "\"";
  }
}

// Comparing sort keys with memcmp gives exactly the CompareNoCase order.
TEST(SystemTest, SortKeysOrderLikeCompareNoCase) {
  const std::vector<std::string> pieces = {
      "a", "A", "b", "z", "0", "9", "-", "'", " ", ".", "_", "~", "\x01", "表", "能", "ソ",
      "あ", "ア", "ｱ", "ｶ", "ﾞ", "ガ", "が", "ー", "亜", "ａ", "Ａ", "０", "！", "ぁ", "ん",
      "Ω", "ω", "Я", "я", "①", "ⅰ", "㈱", "\x95"};
  std::mt19937 rng(12345);
  std::vector<std::string> texts = {"", "coop", "co-op", "ｶﾞ", "ガ", "ab\x01", "a\x01" "b"};
  for (int i = 0; i < 250; ++i) {
    std::string s;
    const int len = static_cast<int>(rng() % 6);
    for (int k = 0; k < len; ++k) {
      const std::string& p = pieces[rng() % pieces.size()];
      if (p == "\x95" && k + 1 < len) continue;  // a lone lead byte only at the end
      s += p;
    }
    texts.push_back(s);
  }
  std::vector<std::string> keys;
  for (const auto& t : texts) keys.push_back(os::Sys().SortKey(t.c_str()));
  int mismatches = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    for (std::size_t j = 0; j < texts.size(); ++j) {
      const int byCompare = os::Sys().CompareNoCase(texts[i].c_str(), texts[j].c_str());
      const int byKey = Sign(keys[i].compare(keys[j]));
      if (byCompare != byKey && ++mismatches <= 5)
        ADD_FAILURE() << "\"" << texts[i] << "\" vs \"" << texts[j] << "\": compare " << byCompare
                      << ", keys " << byKey;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
