// The six sort orders of a listing.
#include <gtest/gtest.h>

#include <algorithm>

#include "os/services.h"
#include "table/sort_order.h"
#include "tests/unit/table_test_support.h"

namespace {

using tabletest::TableTest;

class SortTest : public TableTest {
 protected:
  void MakeDated(const std::string& name, std::size_t size, int year, int month, int day,
                 int hour) {
    MakeFile(name, size);
    ASSERT_TRUE(tabletest::SetWriteTime(dir_.Path(name),
                                        tabletest::LocalFileTime(year, month, day, hour, 0, 0)));
  }
  void MakeSet() {
    MakeDir("dirB");
    MakeDir("dirA");
    ASSERT_TRUE(testutil::WriteFileBytes(
        dir_.Path("L.LFI"), "[Link]\r\nLink=" + dir_.Path("dirA") + "\r\nTitle=Middle\r\n"));
    MakeDated("b.txt", 300, 2005, 3, 7, 10);
    MakeDated("a.doc", 100, 2006, 1, 1, 10);
    MakeDated("c", 200, 2004, 1, 1, 10);
    MakeDated(".hidden", 50, 2003, 1, 1, 10);
    MakeDated("d.tar.gz", 400, 2005, 3, 7, 10);
    MakeDated("e.TXT", 300, 2001, 1, 1, 10);
    SetKey("vinfo", "16");  // dot files may count as hidden
  }
  // Display names of the files (after the directory group).
  static std::vector<std::string> Files(const table::Sorm& t) {
    std::vector<std::string> out;
    for (table::BINFO* e = t.FirstEntry(); e != t.sentinel(); e = e->NextNode())
      if (!e->Data()->ListsAsDirectory()) out.push_back(e->Data()->DisplayName());
    return out;
  }
  // True when ".." is first and every directory or link to one comes before every file.
  static bool GroupsInPlace(const table::Sorm& t) {
    if (t.FirstEntry()->Data()->name != "..") return false;
    bool inFiles = false;
    for (table::BINFO* e = t.FirstEntry(); e != t.sentinel(); e = e->NextNode()) {
      if (!e->Data()->ListsAsDirectory()) inFiles = true;
      else if (inFiles) return false;
    }
    return true;
  }
};

TEST_F(SortTest, SixOrders) {
  MakeSet();
  auto t = Open();
  struct Case {
    int16_t id;
    std::vector<std::string> files;
  } cases[] = {
      {table::kSortName, {".hidden", "a.doc", "b.txt", "c", "d.tar.gz", "e.TXT"}},
      {table::kSortExtension, {".hidden", "c", "a.doc", "d.tar.gz", "b.txt", "e.TXT"}},
      {table::kSortNewest, {"a.doc", "b.txt", "d.tar.gz", "c", ".hidden", "e.TXT"}},
      {table::kSortOldest, {"e.TXT", ".hidden", "c", "b.txt", "d.tar.gz", "a.doc"}},
      {table::kSortLargest, {"d.tar.gz", "b.txt", "e.TXT", "c", "a.doc", ".hidden"}},
      {table::kSortSmallest, {".hidden", "a.doc", "c", "b.txt", "e.TXT", "d.tar.gz"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    int repaints = view_.repaints;
    t->Sort(c.id, true);
    EXPECT_EQ(t->sortId(), c.id);
    EXPECT_EQ(Files(*t), c.files);
    EXPECT_TRUE(GroupsInPlace(*t));
    EXPECT_EQ(view_.repaints, repaints + 1);
    int i = 0;
    for (table::BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode())
      EXPECT_EQ(e->index, ++i);
  }
  t->Sort(table::kSortName, false);
  EXPECT_EQ(DisplayNames(*t),
            (std::vector<std::string>{"..", "dirA", "dirB", "Middle", ".hidden", "a.doc",
                                      "b.txt", "c", "d.tar.gz", "e.TXT"}));
}

TEST_F(SortTest, ReloadSortsWithTheConfiguredOrder) {
  MakeSet();
  SetKey("Sort", "166");
  auto t = Open();
  EXPECT_EQ(Files(*t), (std::vector<std::string>{"d.tar.gz", "b.txt", "e.TXT", "c", "a.doc",
                                                  ".hidden"}));
}

TEST_F(SortTest, EmptyListKeepsThePreviousOrder) {
  MakeFile("x");
  auto t = Open(std::string(), "*.nothing");
  ASSERT_EQ(t->EntryCount(), 1);  // ".."
  t->ClearEntries();
  view_.sortChanges.clear();
  t->Sort(table::kSortOldest, true);
  EXPECT_EQ(t->sortId(), table::kSortName);
  EXPECT_TRUE(view_.sortChanges.empty());
}

TEST_F(SortTest, UnknownOrderSortsByNameAndChecksNoItem) {
  MakeFile("b");
  MakeFile("a");
  auto t = Open();
  t->Sort(table::kSortLargest, false);
  view_.sortChanges.clear();
  t->Sort(999, false);
  EXPECT_EQ(t->sortId(), table::kSortName);
  ASSERT_EQ(view_.sortChanges.size(), 1u);
  EXPECT_EQ(view_.sortChanges[0], (std::pair<int16_t, int16_t>(table::kSortLargest, 999)));
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "a", "b"}));
}

TEST_F(SortTest, SameTitleFallsBackToTheTarget) {
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("x1.LFI"),
                                       "[Link]\r\nLink=C:\\zzz\r\nTitle=Same\r\n"));
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("x2.LFI"),
                                       "[Link]\r\nLink=C:\\aaa\r\nTitle=Same\r\n"));
  auto t = Open();
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "x2.LFI", "x1.LFI"}));
  // Equal sizes end in the same tie-break.
  ASSERT_EQ(t->FindEntryByName("x1.LFI")->Data()->size, t->FindEntryByName("x2.LFI")->Data()->size);
  t->Sort(table::kSortLargest, false);
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "x2.LFI", "x1.LFI"}));
}

TEST_F(SortTest, CursorKeepsItsPlaceInTheList) {
  MakeDated("a", 1, 2001, 1, 1, 1);
  MakeDated("b", 2, 2002, 1, 1, 1);
  MakeDated("c", 3, 2003, 1, 1, 1);
  auto t = Open();
  t->SetCursor(t->FindEntryByName("b"));
  int index = t->cursor()->index;
  t->Sort(table::kSortLargest, false);
  EXPECT_EQ(t->cursor()->index, index);
  EXPECT_EQ(t->cursor()->Data()->name, "b");
  t->SetCursor(t->FindEntryByName("a"));
  index = t->cursor()->index;
  t->Sort(table::kSortSmallest, false);
  EXPECT_EQ(t->cursor()->index, index);
  EXPECT_EQ(t->cursor()->Data()->name, "c");
}

// Sorting on keys must give the order a comparison with lstrcmpiA gives.
TEST_F(SortTest, KeyOrderIsTheSystemComparisonOrder) {
  const char* names[] = {"b", "B1", "a-b", "ab", "_x", "~t", "10", "9", "a b", "A.b",
                         "\x83\x41.txt",  // ア
                         "\x82\xa0.txt",  // あ
                         "\xb1.txt",      // ｱ
                         "\x95\x5c.txt",  // 表
                         "\x83\x5c\x83\x74\x83\x67"};  // ソフト
  for (const char* n : names) MakeFile(n);
  auto t = Open();
  std::vector<std::string> expected(std::begin(names), std::end(names));
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return os::Sys().CompareNoCase(a.c_str(), b.c_str()) < 0;
  });
  expected.insert(expected.begin(), "..");
  EXPECT_EQ(Names(*t), expected);
  // A full rescan takes the keys of the names it finds again from the list it replaces.
  ASSERT_TRUE(os::Fs().DeleteFile(dir_.Path("ab").c_str()));
  MakeFile("AB");
  EXPECT_EQ(t->Reload(), 0);
  std::replace(expected.begin(), expected.end(), std::string("ab"), std::string("AB"));
  EXPECT_EQ(Names(*t), expected);
  EXPECT_EQ(t->ReloadKeepPosition(), 0);
  EXPECT_EQ(Names(*t), expected);
}

TEST(TableSortOrderTest, GroupRanks) {
  table::SM_DAT parent, dir, linkToDir, file;
  parent.name = "..";
  parent.attributes = 0x10;
  dir.attributes = 0x10;
  linkToDir.linkFlags = table::kIsLink | table::kTargetIsDirectory;
  EXPECT_EQ(table::GroupRank(parent), 0);
  EXPECT_EQ(table::GroupRank(dir), 1);
  EXPECT_EQ(table::GroupRank(linkToDir), 2);
  EXPECT_EQ(table::GroupRank(file), 3);
  for (int16_t id : {164, 166, 168, 170, 172, 174}) EXPECT_TRUE(table::IsKnownSortId(id));
  for (int16_t id : {0, 163, 165, 175, -174}) EXPECT_FALSE(table::IsKnownSortId(id));
}

}  // namespace
