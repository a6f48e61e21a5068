// The directory scan of a file table: full and incremental rescans, masks, hidden entries, link
// files and shortcuts in the listing, and input that must not break it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>

#include "os/services.h"
#include "table/sorm.h"
#include "table/text_compare.h"
#include "tests/unit/table_test_support.h"

namespace {

using table::BINFO;
using table::RescanMode;
using tabletest::TableTest;

bool Has(const std::vector<std::string>& v, const std::string& s) {
  return std::find(v.begin(), v.end(), s) != v.end();
}
int CountOf(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<int>(std::count(v.begin(), v.end(), s));
}

class ScanTest : public TableTest {};

TEST_F(ScanTest, SubdirectoryListsParentFirstThenDirectoriesThenFiles) {
  MakeDir("sub");
  MakeFile("b.txt");
  MakeFile("a.txt");
  auto t = Open();
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "sub", "a.txt", "b.txt"}));
  EXPECT_EQ(t->EntryCount(), 4);
  int i = 0;
  for (BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode()) EXPECT_EQ(e->index, ++i);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(ScanTest, DriveRootHasNoParentEntry) {
  auto t = Open(dir_.Dir().substr(0, 3));  // "X:\"
  EXPECT_FALSE(Has(Names(*t), ".."));
}

TEST_F(ScanTest, TwoPatternsListDirectoriesOnceAndFilesOfEither) {
  MakeDir("d1");
  MakeFile("a.txt");
  MakeFile("b.doc");
  MakeFile("c.bmp");
  auto t = Open(std::string(), "*.txt  *.doc");
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "d1", "a.txt", "b.doc"}));
}

TEST_F(ScanTest, FileMatchingTwoPatternsIsListedTwiceAndTheNextUpdateKeepsOne) {
  MakeFile("ab.txt");
  MakeFile("zz.txt");
  auto t = Open(std::string(), "*.txt a*");
  EXPECT_EQ(CountOf(Names(*t), "ab.txt"), 2);
  EXPECT_EQ(t->Update(), 1);
  EXPECT_EQ(CountOf(Names(*t), "ab.txt"), 1);
  EXPECT_EQ(CountOf(Names(*t), "zz.txt"), 1);
  EXPECT_EQ(t->Update(), 0);  // both patterns now find the one entry
  EXPECT_EQ(CountOf(Names(*t), "ab.txt"), 1);
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_EQ(CountOf(Names(*t), "ab.txt"), 2);
}

TEST_F(ScanTest, HiddenSystemAndInvisibleTypesShowOnlyWithViewInfo0x10) {
  MakeDir("hid");
  MakeFile("h.txt");
  MakeFile("s.txt");
  MakeFile("lib.dll");
  MakeFile("plain.txt");
  ASSERT_TRUE(os::Fs().SetAttributes(dir_.Path("hid").c_str(), os::kAttrHidden));
  ASSERT_TRUE(os::Fs().SetAttributes(dir_.Path("h.txt").c_str(), os::kAttrHidden));
  ASSERT_TRUE(os::Fs().SetAttributes(dir_.Path("s.txt").c_str(), os::kAttrSystem));
  struct Case {
    const char* vinfo;
    bool shown;
  } cases[] = {{"0", false}, {"16", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vinfo);
    SetKey("vinfo", c.vinfo);
    auto t = Open();
    auto names = Names(*t);
    EXPECT_EQ(t->ScanAttributes(), c.shown ? 55u : 49u);
    EXPECT_EQ(Has(names, "hid"), c.shown);
    EXPECT_EQ(Has(names, "h.txt"), c.shown);
    EXPECT_EQ(Has(names, "s.txt"), c.shown);
    EXPECT_EQ(Has(names, "lib.dll"), c.shown);
    EXPECT_TRUE(Has(names, "plain.txt"));
  }
}

TEST_F(ScanTest, DotFilesAreListedLikeOtherFiles) {
  MakeFile(".profile");
  MakeFile("a");
  SetKey("vinfo", "16");  // a system may report dot files as hidden
  auto t = Open();
  EXPECT_TRUE(Has(Names(*t), ".profile"));
  EXPECT_TRUE(Has(Names(*t), "a"));
}

TEST_F(ScanTest, UpdateWithoutChangeReportsNothingAndDoesNotRepaint) {
  MakeFile("a.txt", 10);
  auto t = Open();
  int repaints = view_.repaints;
  EXPECT_EQ(t->Update(), 0);
  // A new access time changes none of attributes, time, date and size.
  {
    auto f = os::Fs().Open(dir_.Path("a.txt").c_str(), os::kGenericWrite, os::kShareRead,
                           os::kOpenExisting);
    ASSERT_TRUE(f);
    os::FileTime accessed = tabletest::LocalFileTime(2001, 2, 3, 4, 5, 6);
    ASSERT_TRUE(f->SetTimes(nullptr, &accessed, nullptr));
  }
  EXPECT_EQ(t->Update(), 0);
  EXPECT_EQ(view_.repaints, repaints);
  for (BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode())
    EXPECT_EQ(e->Data()->state & (table::kSeen | table::kAdded), 0);
}

TEST_F(ScanTest, UpdateAfterSizeChangeReplacesEntryAndDropsItsSelection) {
  MakeFile("a.txt", 10);
  MakeFile("b.txt", 20);
  auto t = Open();
  BINFO* a = Entry(*t, "a.txt");
  ASSERT_NE(a, nullptr);
  a->Data()->state |= table::kSelected;
  t->AddToSelectionTotals(*a->Data());
  ASSERT_EQ(t->selectedCount(), 1);
  MakeFile("a.txt", 30);
  int repaints = view_.repaints;
  EXPECT_EQ(t->Update(), 1);
  EXPECT_GT(view_.repaints, repaints);
  EXPECT_EQ(t->selectedCount(), 0);
  EXPECT_EQ(t->selectedBytes(), 0.0);
  BINFO* now = Entry(*t, "a.txt");
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->Data()->size, 30);
  EXPECT_FALSE(now->Data()->IsSelected());
  EXPECT_EQ(t->EntryCount(), 3);
}

TEST_F(ScanTest, UpdateAddsAndRemovesAndRenumbers) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  MakeFile("c.txt");
  auto t = Open();
  BINFO* b = Entry(*t, "b.txt");
  b->Data()->state |= table::kSelected;  // kept: its file does not change
  ASSERT_TRUE(os::Fs().DeleteFile(dir_.Path("a.txt").c_str()));
  MakeFile("d.txt");
  EXPECT_EQ(t->Update(), 1);
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "b.txt", "c.txt", "d.txt"}));
  EXPECT_EQ(Entry(*t, "b.txt"), b);
  EXPECT_TRUE(b->Data()->IsSelected());
  int i = 0;
  for (BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode()) EXPECT_EQ(e->index, ++i);
  EXPECT_EQ(t->EntryCount(), 4);
}

TEST_F(ScanTest, DirectoryThatVanishesEmptiesTheListOnUpdate) {
  std::string sub = dir_.Path("gone");
  ASSERT_TRUE(os::Fs().CreateDir(sub.c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(sub + "\\x.txt", "x"));
  auto t = Open(sub);
  EXPECT_EQ(t->EntryCount(), 2);
  os::Fs().SetCurrentDir(dir_.Dir().c_str());  // the system keeps a current directory in use
  testutil::RemoveTree(sub);
  ASSERT_FALSE(testutil::FileExists(sub));
  EXPECT_EQ(t->Update(), 1);
  EXPECT_EQ(t->EntryCount(), 0);
  EXPECT_FALSE(t->HasCursor());
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_TRUE(view_.errors.empty());
}

// Gives way as an update does while input waits.
class PendingInputSystem : public os::System {
 public:
  explicit PendingInputSystem(os::System& real) : real_(real) {}
  // SortKey runs out of memory after this many keys (negative: never).
  int keysBeforeFailure = -1;
  bool GetUserName(char* buf, uint32_t* size) override { return real_.GetUserName(buf, size); }
  uint32_t WindowsMajorVersion() override { return real_.WindowsMajorVersion(); }
  uint32_t TickCount() override { return real_.TickCount(); }
  void Sleep(uint32_t ms) override { real_.Sleep(ms); }
  bool PeekPending() override { return ++peeks > allowed; }
  uint32_t WinExec(const char* c, int s) override { return real_.WinExec(c, s); }
  int32_t TimeZoneBiasMinutes() override { return real_.TimeZoneBiasMinutes(); }
  int CompareNoCase(const char* a, const char* b) override { return real_.CompareNoCase(a, b); }
  uint32_t ExecutableType(const char* path) override { return real_.ExecutableType(path); }
  std::string ProgramSearchPath() override { return real_.ProgramSearchPath(); }
  std::string SortKey(const char* t) override {
    if (keysBeforeFailure == 0) throw std::bad_alloc();
    if (keysBeforeFailure > 0) --keysBeforeFailure;
    return real_.SortKey(t);
  }
  int peeks = 0;
  int allowed = 0;

 private:
  os::System& real_;
};

TEST_F(ScanTest, PollUpdateGivesWayToInputWithoutRemovingAnything) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  auto t = Open();
  ASSERT_TRUE(os::Fs().DeleteFile(dir_.Path("a.txt").c_str()));
  PendingInputSystem pending(os::Sys());
  os::Services s;
  s.system = &pending;
  os::ScopedServices scoped(s);
  table::UpdateAbortFlag() = true;
  EXPECT_EQ(t->Update(), 1);  // aborted: renumbered, nothing removed
  EXPECT_EQ(pending.peeks, 1);
  EXPECT_TRUE(Has(Names(*t), "a.txt"));
  table::UpdateAbortFlag() = false;
  EXPECT_EQ(t->Update(), 1);
  EXPECT_FALSE(Has(Names(*t), "a.txt"));
  EXPECT_EQ(pending.peeks, 1);  // not asked without the flag
}

TEST_F(ScanTest, RescanThatRunsOutOfMemoryLeavesAnEmptyListAndSaysSo) {
  for (int i = 0; i < 10; ++i) MakeFile("f" + std::to_string(i));
  auto t = Open();
  BINFO* f = Entry(*t, "f3");
  f->Data()->state |= table::kSelected;
  t->AddToSelectionTotals(*f->Data());
  PendingInputSystem failing(os::Sys());
  failing.allowed = 1 << 30;
  os::Services s;
  s.system = &failing;
  os::ScopedServices scoped(s);
  // Keys are made for names the list does not hold yet, so each case brings new ones.
  int serial = 0;
  auto newNames = [&] {
    for (int i = 0; i < 5; ++i) MakeFile("new" + std::to_string(++serial));
  };
  struct Case {
    const char* what;
    std::function<int()> rescan;
  } cases[] = {{"reload", [&] { return t->Reload(); }},
               {"keep position", [&] { return t->ReloadKeepPosition(); }},
               {"update", [&] { return t->Update(); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(t->Reload(), 0);
    newNames();
    view_.errors.clear();
    failing.keysBeforeFailure = 3;
    EXPECT_EQ(c.rescan(), -1);
    failing.keysBeforeFailure = -1;
    EXPECT_EQ(t->EntryCount(), 0);
    EXPECT_FALSE(t->HasCursor());
    EXPECT_EQ(t->selectedCount(), 0);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_EQ(view_.errors[0], "ファイル情報が取得できません");
    EXPECT_EQ(t->loaderState(), table::kLoaderIdle);
  }
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_EQ(t->EntryCount(), 11 + serial);
}

TEST_F(ScanTest, MissingDirectoryListsNothingWithoutMessage) {
  auto t = Open();
  EXPECT_EQ(t->ChangePath(dir_.Path("sub").c_str()), -1);
  MakeDir("sub");
  ASSERT_EQ(t->ChangePath(dir_.Path("sub").c_str()), 0);
  os::Fs().SetCurrentDir(dir_.Dir().c_str());
  ASSERT_TRUE(os::Fs().RemoveDir(dir_.Path("sub").c_str()));
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_EQ(t->EntryCount(), 0);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(ScanTest, ReloadKeepPositionClosesAndArmsTheChangeMonitor) {
  MakeFile("a.txt");
  auto t = Open();
  EXPECT_EQ(t->ReloadKeepPosition(), 0);
  EXPECT_EQ(view_.monitorCloses, 1);
  ASSERT_EQ(view_.monitorArms.size(), 1u);
  EXPECT_EQ(view_.monitorArms[0], t->path());
  EXPECT_EQ(t->loaderState(), table::kLoaderPending);
}

TEST_F(ScanTest, ReloadKeepPositionKeepsTheCursorIndexWhenVisible) {
  for (char c = 'a'; c <= 'f'; ++c) MakeFile(std::string(1, c) + ".txt");
  auto t = Open();
  BINFO* d = Entry(*t, "d.txt");
  t->SetCursor(d);
  int index = d->index;
  EXPECT_EQ(t->ReloadKeepPosition(), 0);
  ASSERT_TRUE(t->HasCursor());
  EXPECT_EQ(t->cursor()->index, index);
  EXPECT_EQ(t->cursor()->Data()->name, "d.txt");
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_EQ(t->cursor(), t->FirstEntry());
}

TEST_F(ScanTest, SavedCursorIsRestoredAtConstruction) {
  for (int i = 0; i < 40; ++i) MakeFile("f" + std::to_string(100 + i) + ".txt");
  SetKey("Cursor", "F130.TXT");
  auto t = Open();
  ASSERT_TRUE(t->HasCursor());
  EXPECT_EQ(t->cursor()->Data()->name, "f130.txt");
  EXPECT_EQ(t->origin().y, t->cursor()->y);
  EXPECT_EQ(t->FirstVisibleEntry()->y, t->cursor()->y);
}

TEST_F(ScanTest, RemoveEntryAndClearEntries) {
  MakeFile("a.txt", 5);
  MakeFile("b.txt", 7);
  auto t = Open();
  BINFO* a = Entry(*t, "a.txt");
  a->Data()->state |= table::kSelected;
  t->AddToSelectionTotals(*a->Data());
  int updates = view_.selectionUpdates;
  t->RemoveEntry(a);
  EXPECT_EQ(t->selectedCount(), 0);
  EXPECT_EQ(view_.selectionUpdates, updates + 1);
  EXPECT_EQ(t->EntryCount(), 2);
  EXPECT_EQ(Entry(*t, "a.txt"), nullptr);
  t->ClearEntries();
  EXPECT_EQ(t->EntryCount(), 0);
  EXPECT_EQ(t->FirstEntry(), t->sentinel());
  EXPECT_EQ(t->sentinel()->index, 0);
}

TEST_F(ScanTest, FindEntryByNameIgnoresCase) {
  MakeFile("ReadMe.TXT");
  auto t = Open();
  struct Case {
    const char* query;
    bool found;
  } cases[] = {{"readme.txt", true}, {"README.TXT", true}, {"ReadMe.TXT", true},
               {"readme.tx", false}, {"", false}};
  for (const Case& c : cases) EXPECT_EQ(Entry(*t, c.query) != nullptr, c.found) << c.query;
}

TEST_F(ScanTest, FirstVisibleEntryFollowsTheOrigin) {
  for (int i = 0; i < 30; ++i) MakeFile("f" + std::to_string(10 + i));
  auto t = Open();
  BINFO* e = t->EntryAt(12);
  t->SetOrigin(table::Point{0, e->y});
  BINFO* fv = t->FirstVisibleEntry();
  ASSERT_NE(fv, nullptr);
  EXPECT_EQ(fv->y, e->y);
  EXPECT_LE(fv->index, e->index);
  t->SetOrigin(table::Point{-1, 0});
  EXPECT_EQ(t->FirstVisibleEntry(), nullptr);
  t->SetOrigin(table::Point{0, 7});
  EXPECT_EQ(t->FirstVisibleEntry(), nullptr);
}

TEST_F(ScanTest, HitTestPrefersLaterEntriesAndLineNodes) {
  MakeFile("a");
  MakeFile("b");
  auto t = Open();
  BINFO* a = Entry(*t, "a");
  BINFO* b = Entry(*t, "b");
  // Inside the first entry's icon.
  EXPECT_EQ(t->HitTest(a->x + 2, a->y + 2), a);
  // On the name line under the icon.
  BINFO* line = a->FirstChildNode();
  EXPECT_EQ(t->HitTest(line->x + 1, line->y + 1), a);
  // Overlap: stretch a's name line over b; b is later and still wins inside its own icon.
  line->width = b->x + b->width - line->x;
  line->y = b->y;
  EXPECT_EQ(t->HitTest(b->x + 1, b->y + 1), b);
  // Outside the client area, or in empty space.
  EXPECT_EQ(t->HitTest(-1, 5), nullptr);
  EXPECT_EQ(t->HitTest(view_.client.width, 5), nullptr);
  EXPECT_EQ(t->HitTest(5, view_.client.height), nullptr);
  EXPECT_EQ(t->HitTest(view_.client.width - 1, view_.client.height - 1), nullptr);
}

// ---- link files and shortcuts

TEST_F(ScanTest, LinkFileShowsTitleAndSortsWithDirectoriesWhenItsChainEndsInOne) {
  MakeDir("target");
  std::string target = dir_.Path("target");
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("1.LFI"),
                                       "[Link]\r\nLink=" + target + "\r\nTitle=Zebra\r\n"));
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("0.lfi"),
                                       "[Link]\r\nLink=" + dir_.Path("1.LFI") + "\r\n"));
  MakeFile("a.txt");
  auto t = Open();
  EXPECT_EQ(DisplayNames(*t), (std::vector<std::string>{"..", "0.lfi", "target", "Zebra",
                                                         "a.txt"}));
  BINFO* zero = Entry(*t, "0.lfi");
  ASSERT_NE(zero, nullptr);
  EXPECT_EQ(zero->Data()->linkFlags, table::kIsLink | table::kTargetIsDirectory);
  EXPECT_EQ(std::string(zero->Data()->Target()), target);
  EXPECT_EQ(std::string(Entry(*t, "1.LFI")->Data()->DisplayName()), "Zebra");
}

TEST_F(ScanTest, BrokenLinkFilesAreListedUnderTheirOwnNames) {
  std::string huge = "[Link]\r\nLink=C:\\\r\nTitle=Huge\r\n" + std::string(200000, ';');
  std::string binary("\0\x01\xff[Link\x00]=\r\n\x95\x5c", 14);
  struct Case {
    const char* name;
    std::string content;
  } cases[] = {{"empty.LFI", ""},
               {"binary.LFI", binary},
               {"huge.LFI", huge},
               {"nosection.LFI", "Link=C:\\\r\nTitle=No\r\n"},
               {"self.LFI", "[Link]\r\nLink=" + dir_.Path("self.LFI") + "\r\n"},
               {"loopa.LFI", "[Link]\r\nLink=" + dir_.Path("loopb.LFI") + "\r\n"},
               {"loopb.LFI", "[Link]\r\nLink=" + dir_.Path("loopa.LFI") + "\r\n"}};
  for (const Case& c : cases) ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path(c.name), c.content));
  auto t = Open();
  for (const Case& c : cases) {
    BINFO* e = Entry(*t, c.name);
    ASSERT_NE(e, nullptr) << c.name;
    EXPECT_EQ(std::string(e->Data()->DisplayName()), c.name);
    EXPECT_EQ(e->Data()->linkFlags, table::kIsLink) << c.name;
  }
  EXPECT_EQ(std::string(Entry(*t, "huge.LFI")->Data()->Target()), "");
}

TEST_F(ScanTest, CorruptShortcutIsListedWithoutTarget) {
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("bad.lnk"), std::string("L\0\0\0garbage", 11)));
  auto t = Open();
  BINFO* e = Entry(*t, "bad.lnk");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Data()->linkFlags, table::kIsLink | table::kIsShortcut);
  EXPECT_EQ(std::string(e->Data()->DisplayName()), "bad.lnk");
  EXPECT_EQ(std::string(e->Data()->Target()), "");
}

TEST_F(ScanTest, ShortcutToDirectorySortsWithDirectories) {
  MakeDir("folder");
  MakeFile("a.txt");
  os::ShellLinkFields wanted;
  wanted.target = dir_.Path("folder");
  if (!os::Links().Write(dir_.Path("zz.lnk").c_str(), wanted))
    GTEST_SKIP() << "no shell link object on this system";
  auto t = Open();
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "folder", "zz.lnk", "a.txt"}));
  BINFO* e = Entry(*t, "zz.lnk");
  EXPECT_EQ(e->Data()->linkFlags,
            table::kIsLink | table::kIsShortcut | table::kTargetIsDirectory);
  EXPECT_TRUE(table::SameTextNoCase(e->Data()->Target(), wanted.target.c_str()))
      << e->Data()->Target();
}

// ---- awkward names, paths and masks

TEST_F(ScanTest, ShiftJisNamesWithBackslashTrailBytes) {
  const std::string hyou = "\x95\x5c";  // 表
  const std::string so = "\x83\x5c";    // ソ
  const std::string nou = "\x94\x5c";   // 能
  const std::string po = "\x83\x7c";    // ポ, whose trail byte is "|"
  std::string sub = dir_.Path(hyou);
  ASSERT_TRUE(os::Fs().CreateDir(sub.c_str()));
  std::string inside = sub + "\\";
  ASSERT_TRUE(testutil::WriteFileBytes(inside + so + ".txt", "x"));
  ASSERT_TRUE(testutil::WriteFileBytes(inside + nou + ".dll", "x"));
  ASSERT_TRUE(testutil::WriteFileBytes(inside + "a." + so, "x"));
  ASSERT_TRUE(testutil::WriteFileBytes(inside + po + "." + po, "x"));
  ASSERT_TRUE(testutil::WriteFileBytes(inside + so + ".LFI",
                                       "[Link]\r\nLink=" + sub + "\r\nTitle=" + nou + "\r\n"));
  auto t = Open(sub);  // a path whose last byte is a trail byte 0x5C
  EXPECT_EQ(t->DirectoryString(), sub + "\\");
  auto names = Names(*t);
  EXPECT_TRUE(Has(names, so + ".txt"));
  EXPECT_FALSE(Has(names, nou + ".dll"));  // hidden type found after the real period
  EXPECT_TRUE(Has(names, "a." + so));
  EXPECT_TRUE(Has(names, po + "." + po));
  t->Sort(table::kSortExtension, false);
  EXPECT_EQ(t->Update(), 0);
  BINFO* link = Entry(*t, so + ".LFI");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(std::string(link->Data()->DisplayName()), nou);
  EXPECT_TRUE(link->Data()->linkFlags & table::kTargetIsDirectory);
  EXPECT_EQ(t->TitleText().compare(0, sub.size() + 4, sub + "\\*.*"), 0);
}

TEST_F(ScanTest, NameOf255BytesIsListedWhole) {
  std::string name(251, 'n');
  name += ".txt";
  ASSERT_EQ(name.size(), 255u);
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir_.Dir().c_str()));
  if (!testutil::WriteFileBytes(name, "x")) GTEST_SKIP() << "system refuses such a long path";
  auto t = Open();
  EXPECT_TRUE(Has(Names(*t), name));
}

TEST_F(ScanTest, PathAtTheLengthLimitListsWhatItCan) {
  auto t = Open();
  std::string longPath = dir_.Dir();
  while (longPath.size() < os::kMaxPath - 1) longPath += 'p';
  EXPECT_EQ(t->ChangePath(longPath.c_str()), -1);  // does not exist, and fits no search
  t->SetMask(std::string(300, '*'));
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_TRUE(view_.errors.empty());
}

TEST_F(ScanTest, MasksOfBlanksManyPatternsOrOverlongPatterns) {
  MakeFile("a.txt");
  MakeFile("b.doc");
  struct Case {
    std::string mask;
    std::vector<std::string> names;
  } cases[] = {
      {"   ", {"..", "a.txt", "b.doc"}},
      {"", {"..", "a.txt", "b.doc"}},
      {std::string(400, 'x') + " *.doc", {"..", "b.doc"}},
      {std::string(os::kMaxPath * 3, '?'), {".."}},
  };
  for (const Case& c : cases) {
    auto t = Open(std::string(), c.mask);
    EXPECT_EQ(Names(*t), c.names) << c.mask.size();
  }
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "*.q" + std::to_string(i) + " ";
  many += "*.txt";
  auto t = Open();
  t->SetMask(many);
  EXPECT_EQ(t->Reload(), 0);
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "a.txt"}));
  EXPECT_EQ(t->Update(), 0);
  EXPECT_TRUE(view_.errors.empty());
}

// A mask chosen from the mask menu or typed: the listing and the title follow it, and the table
// remembers which command chose it.
TEST_F(ScanTest, AChosenMaskListsAgainRetitlesAndRemembersItsCommand) {
  MakeFile("a.txt");
  MakeFile("b.doc");
  auto t = Open();
  EXPECT_EQ(t->maskCommand(), 0) << "the saved mask was chosen by no command";
  struct Case {
    const char* mask;
    int command;
    std::vector<std::string> names;
  } cases[] = {
      {"*.doc", 301, {"..", "b.doc"}},
      {"*.txt *.doc", 146, {"..", "a.txt", "b.doc"}},
      {"*.none", 300, {".."}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t->ChooseMask(c.mask, c.command), 0) << c.mask;
    EXPECT_EQ(Names(*t), c.names) << c.mask;
    EXPECT_EQ(t->maskCommand(), c.command) << c.mask;
    EXPECT_NE(view_.title.find(c.mask), std::string::npos) << view_.title;
  }
}

TEST_F(ScanTest, ManyUpdatesKeepTheSortKeysOfLiveEntries) {
  // Every round replaces every entry, leaving the keys of the old ones behind until the store
  // is compacted.
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    names.push_back(std::string(140, static_cast<char>('a' + i % 26)) + std::to_string(100 + i));
    MakeFile(names.back());
  }
  auto t = Open();
  for (int round = 0; round < 30; ++round) {
    for (const std::string& n : names) {
      ASSERT_TRUE(os::Fs().SetAttributes(dir_.Path(n).c_str(),
                                         round % 2 ? os::kAttrArchive : os::kAttrReadOnly));
    }
    ASSERT_EQ(t->Update(), 1);
  }
  for (const std::string& n : names) os::Fs().SetAttributes(dir_.Path(n).c_str(), os::kAttrArchive);
  t->Sort(table::kSortLargest, false);
  t->Sort(table::kSortName, false);
  std::vector<std::string> expected = names;
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    return os::Sys().CompareNoCase(a.c_str(), b.c_str()) < 0;
  });
  expected.insert(expected.begin(), "..");
  EXPECT_EQ(Names(*t), expected);
}

}  // namespace
