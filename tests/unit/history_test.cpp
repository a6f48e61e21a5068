#include "exec/history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_lock.h"
#include "os/services.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/forwarding_profile.h"
#include "tests/unit/fake_system.h"

namespace {

using Strings = std::vector<std::string>;

TEST(History, AddAnswer) {
  struct Case {
    int capacity;
    Strings added;
    Strings oldestFirst;
  } cases[] = {
      {20, {"a", "b", "a"}, {"b", "a"}},          // a repeated answer becomes the newest
      {20, {"A", "a"}, {"A", "a"}},               // case counts
      {20, {"", "x", ""}, {"x"}},                 // empty answers are ignored
      {3, {"1", "2", "3", "4", "5"}, {"3", "4", "5"}},
      {3, {"1", "2", "3", "1"}, {"2", "3", "1"}},  // a repeat does not push anything out
      {1, {"1", "2"}, {"2"}},
      {0, {"1", "2"}, {}},
      {-5, {"1"}, {}},
  };
  for (const Case& c : cases) {
    exec::History h;
    h.SetCapacity(c.capacity);
    for (const std::string& a : c.added) h.AddAnswer(a.c_str());
    EXPECT_EQ(h.OldestFirst(), c.oldestFirst) << "capacity " << c.capacity;
    EXPECT_EQ(h.CountAnswers(), static_cast<int>(c.oldestFirst.size()));
    EXPECT_LE(h.CountAnswers(), c.capacity > 0 ? c.capacity : 0);
  }
}

TEST(History, AddAnswerReturnsTheNewEntryOrNothing) {
  exec::History h;
  exec::HistLink* e = h.AddAnswer("x");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Text(), "x");
  EXPECT_EQ(e->kind, exec::HistLink::kAnswerKind);
  EXPECT_EQ(h.AddAnswer(""), nullptr);
  EXPECT_EQ(h.AddAnswer(nullptr), nullptr);
  h.SetCapacity(0);
  EXPECT_EQ(h.AddAnswer("y"), nullptr);  // no room: nothing dangling is handed back
  EXPECT_EQ(h.CountAnswers(), 0);
}

TEST(History, NewCapacityDropsOldestAndDropDownIsNewestFirst) {
  exec::History h;
  EXPECT_EQ(h.Capacity(), 20);
  for (const char* a : {"1", "2", "3", "4"}) h.AddAnswer(a);
  EXPECT_EQ(h.NewestFirst(), (Strings{"4", "3", "2", "1"}));
  h.SetCapacity(2);
  EXPECT_EQ(h.OldestFirst(), (Strings{"3", "4"}));
}

TEST(HistoryStorage, StoredForm) {
  struct Case {
    std::string answer;
    std::string stored;
  } cases[] = {
      {"C:\\TEMP", "C:\\TEMP"},
      {"\"C:\\Program Files\\a b\"", ";C:\\Program Files\\a b;"},
      {"\"\"\"", ";;;"},
      {"a\r\nb", "a"},  // a line break would break the file
      {"a\nb", "a"},
      {"\r\nb", ""},
      {"   ", "\"   \""},  // surrounding blanks survive inside quotes
      {" x", "\" x\""},
      {"x\t", "\"x\t\""},
      {"\x0b", "\"\x0b\""},  // every byte a read trims counts as a blank
      {"\fform", "\"\fform\""},
      {"eof\x1a", "\"eof\x1a\""},
      {"'quoted'", "\"'quoted'\""},
      {"'", "'"},
      {"表示", "表示"},
      {std::string(1024, 'v'), std::string(1023, 'v')},
      {std::string(1022, 'v') + "表", std::string(1022, 'v')},  // never half a character
  };
  for (const Case& c : cases)
    EXPECT_EQ(exec::HistoryValueForStorage(c.answer), c.stored) << c.answer.substr(0, 40);
  EXPECT_EQ(exec::HistoryValueFromStorage(";a;b;"), "\"a\"b\"");
}

class HistoryTest : public testutil::AppDirTest {
 protected:
  Strings Load(const char* section, int capacity = 40) {
    exec::History h;
    h.SetCapacity(capacity);
    EXPECT_TRUE(exec::LoadHistory(h, section));
    return h.OldestFirst();
  }
  void Save(const char* section, const Strings& answers, int capacity = 40) {
    exec::History h;
    h.SetCapacity(capacity);
    for (const std::string& a : answers) h.AddAnswer(a.c_str());
    ASSERT_TRUE(exec::SaveHistory(h, section));
  }
};

TEST_F(HistoryTest, RoundTrip) {
  const Strings answers = {
      "C:\\TEMP",
      "\"C:\\Program Files\\x.exe\" -a",
      "\"\"\"\"",
      "   ",
      " lead",
      "trail ",
      "'single'",
      "表示\\予定",
      "ﾃﾞｨﾚｸﾄﾘ",
      std::string(1023, 'q'),
      "=[x]=",
      "\x0bvt",
      "eof\x1a",
  };
  Save("HistRun", answers);
  EXPECT_EQ(Load("HistRun"), answers);
}

TEST_F(HistoryTest, FileFormat) {
  Save("HistCopy", {"C:\\A", "\"C:\\B C\"", "C:\\A"});
  EXPECT_EQ(Cfg(), "[HistCopy]\r\n0=;C:\\B C;\r\n1=C:\\A\r\n");
}

// Saving a history when the file's writes start failing part of the way leaves the history on
// disk as it was, never emptied or shortened.
TEST_F(HistoryTest, ASaveThatFailsLeavesTheStoredHistory) {
  const Strings before = {"C:\\A", "C:\\B", "C:\\C"};
  for (int succeeding : {0, 1, 2}) {
    SCOPED_TRACE(succeeding);
    Save("HistCopy", before);
    exec::History h;
    h.SetCapacity(10);
    for (const char* a : {"D:\\x", "D:\\y", "D:\\z", "D:\\w"}) h.AddAnswer(a);
    {
      testutil::FailingWritesProfile failing(succeeding);
      os::ScopedServices scope(os::Services{nullptr, &failing});
      ASSERT_TRUE(exec::SaveHistory(h, "HistCopy"));
    }
    EXPECT_EQ(Load("HistCopy"),
              succeeding > 0 ? (Strings{"D:\\x", "D:\\y", "D:\\z", "D:\\w"}) : before);
  }
}

TEST_F(HistoryTest, SemicolonsComeBackAsQuotes) {
  Save("HistMask", {"*.c;*.h", ";;;"});
  EXPECT_EQ(Load("HistMask"), (Strings{"*.c\"*.h", "\"\"\""}));
}

TEST_F(HistoryTest, LoadingStopsAtTheFirstGapOrEmptyValue) {
  struct Case {
    std::string file;
    Strings loaded;
  } cases[] = {
      {"[HistMkdir]\r\n0=a\r\n1=b\r\n3=d\r\n", {"a", "b"}},
      {"[HistMkdir]\r\n1=b\r\n2=c\r\n", {}},
      {"[HistMkdir]\r\n0=a\r\n1=\r\n2=c\r\n", {"a"}},
      {"[HistMkdir]\r\n2=c\r\n0=a\r\n1=b\r\n", {"a", "b", "c"}},  // key order, not line order
      {"[HistMkdir]\r\n0=a\r\n1=a\r\n2=b\r\n", {"a", "b"}},
      {"[HistMkdir]\r\n0=\"quoted\"\r\n", {"quoted"}},
      {"[Other]\r\n0=a\r\n", {}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("sorm.cfg"), c.file));
    EXPECT_EQ(Load("HistMkdir"), c.loaded) << c.file;
  }
}

TEST_F(HistoryTest, LongStoredValuesAreCutToTheReadBuffer) {
  std::string file = "[HistRun]\r\n0=" + std::string(5000, 'x') + "\r\n1=" +
                     std::string(1023, 'y') + "\r\n2=" + std::string(1024, 'z') + "\r\n";
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("sorm.cfg"), file));
  Strings got = Load("HistRun");
  EXPECT_EQ(got, (Strings{std::string(1023, 'x'), std::string(1023, 'y'),
                          std::string(1023, 'z')}));
}

TEST_F(HistoryTest, LoadingKeepsTheNewestWithinTheCapacity) {
  Strings many;
  for (int i = 0; i < 50; ++i) many.push_back("a" + std::to_string(i));
  Save("HistCopy", many, 100);
  Strings got = Load("HistCopy", 40);
  ASSERT_EQ(got.size(), 40u);
  EXPECT_EQ(got.front(), "a10");
  EXPECT_EQ(got.back(), "a49");
}

TEST_F(HistoryTest, AnswersThatReadBackEmptyDoNotHideNewerOnes) {
  Save("HistMask", {"a", "\r\n", "   ", "b"});
  EXPECT_EQ(Load("HistMask"), (Strings{"a", "   ", "b"}));
}

TEST_F(HistoryTest, StoringAnAnswer) {
  struct Case {
    Strings stored;
    const char* answer;
    Strings after;
  } cases[] = {
      {{"a", "b", "c"}, "b", {"a", "c", "b"}},  // a known answer moves to the last key
      {{"a", "b"}, "", {"a", "b"}},
      {{"a"}, "A", {"a", "A"}},
      {{}, "\"x y\"", {"\"x y\""}},
  };
  for (const Case& c : cases) {
    config::DeleteConfigSection("HistChdir");
    Save("HistChdir", c.stored);
    exec::History h;
    h.SetCapacity(40);
    ASSERT_TRUE(exec::LoadHistory(h, "HistChdir"));
    ASSERT_TRUE(exec::StoreAnswer(h, "HistChdir", c.answer));
    EXPECT_EQ(h.OldestFirst(), c.after) << c.answer;
    EXPECT_EQ(Load("HistChdir"), c.after) << c.answer;
  }
}

TEST_F(HistoryTest, FullHistoryDropsKeyZero) {
  Strings forty;
  for (int i = 0; i < 40; ++i) forty.push_back("d" + std::to_string(i));
  Save("HistCopy", forty);
  exec::History h;
  h.SetCapacity(40);
  ASSERT_TRUE(exec::StoreAnswer(h, "HistCopy", "new"));
  EXPECT_EQ(Get("HistCopy", "0"), "d1");
  EXPECT_EQ(Get("HistCopy", "38"), "d39");
  EXPECT_EQ(Get("HistCopy", "39"), "new");
  EXPECT_EQ(Get("HistCopy", "40"), "<missing>");
}

TEST_F(HistoryTest, EmptyAnswerStillRewritesTheSection) {
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("sorm.cfg"),
                                       "[HistMkdir]\r\n0=a\r\n1=b\r\n3=stale\r\n"));
  exec::History h;
  h.SetCapacity(40);
  ASSERT_TRUE(exec::StoreAnswer(h, "HistMkdir", ""));
  EXPECT_EQ(Get("HistMkdir", "3"), "<missing>");
  EXPECT_EQ(Load("HistMkdir"), (Strings{"a", "b"}));
}

TEST_F(HistoryTest, AnswersOfTwoWindowsOpenAtOnceAreBothKept) {
  Save("HistRun", {"old"});
  exec::History first, second;
  first.SetCapacity(40);
  second.SetCapacity(40);
  ASSERT_TRUE(exec::LoadHistory(first, "HistRun"));
  ASSERT_TRUE(exec::LoadHistory(second, "HistRun"));
  ASSERT_TRUE(exec::StoreAnswer(first, "HistRun", "from first"));
  ASSERT_TRUE(exec::StoreAnswer(second, "HistRun", "from second"));
  EXPECT_EQ(Load("HistRun"), (Strings{"old", "from first", "from second"}));
}

TEST_F(HistoryTest, SectionsAreSeparate) {
  Save("HistCopy", {"c"});
  Save("HistRename", {"r"});
  EXPECT_EQ(Load("HistCopy"), Strings{"c"});
  EXPECT_EQ(Load("HistRename"), Strings{"r"});
}

TEST_F(HistoryTest, HeldLockChangesNothing) {
  Save("HistCopy", {"kept"});
  const std::string before = Cfg();
  testutil::FakeSystem fake;  // the waiting for the lock is counted, not slept
  os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
  config::ConfigLock held = config::AcquireConfigLock();
  ASSERT_TRUE(held);

  exec::History h;
  h.AddAnswer("in memory");
  EXPECT_FALSE(exec::LoadHistory(h, "HistCopy"));
  EXPECT_EQ(h.OldestFirst(), Strings{"in memory"});
  EXPECT_FALSE(exec::SaveHistory(h, "HistCopy"));
  EXPECT_FALSE(exec::StoreAnswer(h, "HistCopy", "new"));
  EXPECT_EQ(Cfg(), before);
  EXPECT_GT(fake.sleeps, 0);

  config::ReleaseConfigLock(held);
  EXPECT_EQ(Load("HistCopy"), Strings{"kept"});
}

TEST_F(HistoryTest, AnswerAfterAFailedLoadKeepsTheStoredAnswers) {
  Save("HistMkdir", {"one", "two"});
  exec::History h;
  h.SetCapacity(40);
  {
    testutil::FakeSystem fake;
    os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
    config::ConfigLock held = config::AcquireConfigLock();
    ASSERT_TRUE(held);
    EXPECT_FALSE(exec::LoadHistory(h, "HistMkdir"));  // the dialog opens with no choices
  }
  ASSERT_TRUE(exec::StoreAnswer(h, "HistMkdir", "three"));
  EXPECT_EQ(Load("HistMkdir"), (Strings{"one", "two", "three"}));
}

}  // namespace
