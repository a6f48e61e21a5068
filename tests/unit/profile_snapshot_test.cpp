// The profile snapshot answers every read of its file exactly as the profile functions in force
// do (natively the emulation, under Windows the system's own functions), ends at a write, and
// leaves to the real functions the files it cannot answer for exactly.
#include "os/profile_snapshot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

struct Query {
  const char* section;
  const char* key;
  const char* def;
  uint32_t size;
};

// Every text is asked all of these: values, defaults, cut values, both lists and cut lists.
const Query kQueries[] = {
    {"INST1", "Path", "d", 260},  {"inst1", "PATH", "d", 260}, {"INST1", "sort", "d", 260},
    {"INST1", "Path", "d", 4},    {"INST1", "Path", "d", 1},   {"INST1", "missing", "def  ", 260},
    {"NONE", "Path", nullptr, 260}, {"A", "k", "d", 260},      {"A", "k2", "d", 260},
    {"A", "k3", "d", 260},        {"A", "k4", "d", 260},       {"A", "k5", "d", 260},
    {"A", "x", "d", 260},         {"B", "y", "d", 260},        {"設定", "名前", "d", 260},
    {"設定", "ソフト", "d", 260}, {"設定", "表", "d", 260},    {"INST1", nullptr, "d", 260},
    {"INST1", nullptr, "d", 6},   {"A", nullptr, "d", 260},    {nullptr, nullptr, "d", 260},
    {nullptr, nullptr, "d", 5},   {"", "x", "d", 260},         {"INST1", "", "d", 260},
};

// Texts as sorm.cfg may hold them, and the shapes the profile functions treat specially. Left
// out: keys before the first header, empty key names and cuts inside a double-byte character,
// where the compatibility layer the Windows build is tested under answers otherwise than the
// system (the engine's own tests hold those).
const char* const kTexts[] = {
    "",
    "[INST1]\r\nPath=C:\\work\r\nsort = 3 \r\n[INST1]\r\nPath=second\r\n",
    "[A]\r\nk=\"quoted\"\r\nk2='single'\r\nk3=\"open\r\nk4=\"\"\r\nk5= \" spaced \" \r\n",
    "[A]\nk=lf\n[B]\ny=2\n",
    "[A]\rk=cr\r[B]\ry=3\r",
    "[A]\r\nx=after\r\n;k=comment\r\nno equals sign\r\nk=\r\n",
    "  [ A ]  \r\n\t k \t=\t v v \t\r\n[B] trailing\r\ny=b\r\n[C\r\ny=c\r\n",
    "[INST1]\r\nPath=C:\\データ\r\n[設定]\r\n名前=表示\r\nソフト=ソ\\\r\n表=ﾊﾝｶｸ\r\n",
    "[INST1]\r\nPath=a long value that no small buffer holds whole\r\nsort=0x1F\r\n",
};

std::string Answer(os::Profile& p, const Query& q, const std::string& file, uint32_t* ret) {
  std::string buf(q.size, '\x0C');
  *ret = p.GetString(q.section, q.key, q.def, buf.data(), q.size, file.c_str());
  // The answer and the NUL after it (the system's and the emulation's cut lists differ after
  // that one).
  return buf.substr(0, *ret + 1 <= q.size ? *ret + 1 : q.size);
}

class ProfileSnapshotTest : public ::testing::Test {
 protected:
  testutil::TempDir tmp_;
};

TEST_F(ProfileSnapshotTest, AnswersAsTheProfileFunctions) {
  const std::string file = tmp_.Path("snap.cfg");
  for (const char* text : kTexts) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(testutil::WriteFileBytes(file, text));
    os::ProfileSnapshot snapshot(os::Ini(), os::Fs(), file);
    ASSERT_TRUE(snapshot.Active());
    for (const Query& q : kQueries) {
      SCOPED_TRACE(testing::Message() << (q.section ? q.section : "(null)") << "/"
                                      << (q.key ? q.key : "(null)") << " size " << q.size);
      uint32_t real = 0, snap = 0;
      const std::string expect = Answer(os::Ini(), q, file, &real);
      EXPECT_EQ(Answer(snapshot, q, file, &snap), expect);
      EXPECT_EQ(snap, real);
      if (q.section && q.key) {
        EXPECT_EQ(snapshot.GetInt(q.section, q.key, -7, file.c_str()),
                  os::Ini().GetInt(q.section, q.key, -7, file.c_str()));
      }
    }
  }
}

TEST_F(ProfileSnapshotTest, MissingFileGivesTheDefaults) {
  const std::string file = tmp_.Path("none.cfg");
  os::ProfileSnapshot snapshot(os::Ini(), os::Fs(), file);
  EXPECT_TRUE(snapshot.Active());
  char buf[16];
  EXPECT_EQ(snapshot.GetString("A", "k", "def", buf, sizeof(buf), file.c_str()), 3u);
  EXPECT_STREQ(buf, "def");
  EXPECT_EQ(snapshot.GetInt("A", "k", 42, file.c_str()), 42u);
}

TEST_F(ProfileSnapshotTest, AWriteEndsTheSnapshot) {
  const std::string file = tmp_.Path("w.cfg");
  ASSERT_TRUE(testutil::WriteFileBytes(file, "[A]\r\nk=old\r\n"));
  os::ProfileSnapshot snapshot(os::Ini(), os::Fs(), file);
  ASSERT_TRUE(snapshot.WriteString("A", "k", "new", file.c_str()));
  EXPECT_FALSE(snapshot.Active());
  char buf[16];
  snapshot.GetString("A", "k", "", buf, sizeof(buf), file.c_str());
  EXPECT_STREQ(buf, "new");
  // The write reached the file itself.
  os::Ini().GetString("A", "k", "", buf, sizeof(buf), file.c_str());
  EXPECT_STREQ(buf, "new");
}

TEST_F(ProfileSnapshotTest, OtherFilesGoToTheProfileFunctions) {
  const std::string file = tmp_.Path("a.cfg"), other = tmp_.Path("b.cfg");
  ASSERT_TRUE(testutil::WriteFileBytes(file, "[A]\r\nk=a\r\n"));
  ASSERT_TRUE(testutil::WriteFileBytes(other, "[A]\r\nk=b\r\n"));
  os::ProfileSnapshot snapshot(os::Ini(), os::Fs(), file);
  // A write to another file leaves the snapshot in place.
  ASSERT_TRUE(snapshot.WriteString("A", "k", "b2", other.c_str()));
  EXPECT_TRUE(snapshot.Active());
  char buf[16];
  snapshot.GetString("A", "k", "", buf, sizeof(buf), other.c_str());
  EXPECT_STREQ(buf, "b2");
  snapshot.GetString("A", "k", "", buf, sizeof(buf), file.c_str());
  EXPECT_STREQ(buf, "a");
}

TEST(ProfileSnapshotText, OnlyPlainCp932TextIsAnsweredFrom) {
  const struct {
    std::string text;
    bool plain;
  } cases[] = {
      {"[A]\r\nk=v\r\n", true},
      {"[設定]\r\n名前=ソ\\ﾊﾝｶｸ\r\n", true},
      {"\xEF\xBB\xBF[A]\r\nk=v\r\n", false},     // UTF-8 mark
      {"\xFF\xFE[\0A\0]\0", false},              // UTF-16 mark
      {std::string("[A]\r\nk=v\0w\r\n", 12), false},  // a NUL byte
      {"[A]\r\nk=\x83", false},                  // a lead byte at the end
      {"[A]\r\nk=\x83\x0A", false},              // a lead byte without its trail byte
      {"[A]\r\nk=\x80", false},                  // no CP932 character
      {"[A]\r\nk=\xFD", false},
  };
  for (const auto& c : cases) EXPECT_EQ(os::IsPlainCp932Text(c.text), c.plain) << c.text;
}

TEST_F(ProfileSnapshotTest, TextItCannotPromiseGoesToTheProfileFunctions) {
  const std::string file = tmp_.Path("bom.cfg");
  ASSERT_TRUE(testutil::WriteFileBytes(file, "\xEF\xBB\xBF[A]\r\nk=v\r\n"));
  os::ProfileSnapshot snapshot(os::Ini(), os::Fs(), file);
  EXPECT_FALSE(snapshot.Active());
  char a[16], b[16];
  snapshot.GetString("A", "k", "d", a, sizeof(a), file.c_str());
  os::Ini().GetString("A", "k", "d", b, sizeof(b), file.c_str());
  EXPECT_STREQ(a, b);
}

TEST_F(ProfileSnapshotTest, ScopedSnapshotAnswersThroughTheServicesAndGoes) {
  const std::string file = tmp_.Path("s.cfg");
  ASSERT_TRUE(testutil::WriteFileBytes(file, "[A]\r\nk=first\r\n"));
  os::Profile* before = &os::Ini();
  {
    os::ScopedProfileSnapshot scope(file);
    EXPECT_NE(&os::Ini(), before);
    // Another writer (this test writing the bytes) is not seen while the snapshot holds.
    ASSERT_TRUE(testutil::WriteFileBytes(file, "[A]\r\nk=second\r\n"));
    char buf[16];
    os::Ini().GetString("A", "k", "", buf, sizeof(buf), file.c_str());
    EXPECT_STREQ(buf, "first");
  }
  EXPECT_EQ(&os::Ini(), before);
}

}  // namespace
