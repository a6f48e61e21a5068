// The open command on a table's entries: entering directories, going back up, opening files and
// the selected entries, always by full paths.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exec/open_entries.h"
#include "os/services.h"
#include "table/selection.h"
#include "tests/unit/table_test_support.h"

namespace {

using tabletest::TableTest;

// Records what opening asked of the window side, with the state each request found.
class RecordingHandler : public exec::OpenHandler {
 public:
  struct FileOpen {
    std::string path;
    bool marked;
  };
  struct NewWindow {
    int dx, dy;
    std::string currentDirectory;  // the process's, which the new window inherits
  };
  table::PaneSurface* Surface() override { return nullptr; }
  void OpenFile(table::Sorm& t, table::BINFO* entry, const std::string& fullPath) override {
    files.push_back({fullPath, (entry->Data()->state & table::kOpenMark) != 0});
  }
  void OpenNewWindow(int dx, int dy) override {
    char cwd[os::kMaxPath] = {};
    const uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
    windows.push_back({dx, dy, std::string(cwd, n < sizeof(cwd) ? n : 0)});
  }
  void Unreachable(const table::SM_DAT& d) override { unreachable.push_back(d.name); }
  void DirectoryEntered(table::Sorm& t) override { entered.push_back(t.path()); }

  std::vector<FileOpen> files;
  std::vector<NewWindow> windows;
  std::vector<std::string> unreachable;
  std::vector<std::string> entered;
};

class OpenEntriesTest : public TableTest {
 protected:
  std::string Sub(const char* name) const { return dir_.Path(name); }
  std::string CursorName(const table::Sorm& t) const {
    return t.HasCursor() ? t.cursor()->Data()->name : std::string("<none>");
  }
  RecordingHandler handler_;
};

TEST_F(OpenEntriesTest, DirectoryIsEnteredAndDotDotReturnsWithTheCursorOnIt) {
  MakeDir("aaa");
  MakeDir("sub");
  MakeFile("sub\\inner.txt");
  MakeFile("zz.txt");
  auto t = Open();
  exec::OpenEntries(*t, Entry(*t, "sub"), handler_);
  EXPECT_EQ(t->path(), Sub("sub"));
  EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "inner.txt"}));
  exec::OpenEntries(*t, Entry(*t, ".."), handler_);
  std::string parent = dir_.Dir();
  parent.pop_back();
  EXPECT_EQ(t->path(), parent);
  EXPECT_EQ(CursorName(*t), "sub") << "the folder just left";
  EXPECT_EQ(handler_.entered, (std::vector<std::string>{Sub("sub"), parent}));
  EXPECT_TRUE(handler_.files.empty());
}

TEST_F(OpenEntriesTest, DirectoryThatCannotBeEnteredChangesNothing) {
  MakeDir("gone");
  auto t = Open();
  table::BINFO* gone = Entry(*t, "gone");
  ASSERT_TRUE(os::Fs().RemoveDir(Sub("gone").c_str()));
  const std::string before = t->path();
  exec::OpenEntries(*t, gone, handler_);
  EXPECT_EQ(t->path(), before);
  EXPECT_TRUE(handler_.entered.empty());
  EXPECT_NE(Entry(*t, "gone"), nullptr) << "the list was not rescanned";
}

TEST_F(OpenEntriesTest, FileIsOpenedByItsFullPathCarryingTheMarkOnlyMeanwhile) {
  MakeFile("a b.txt");
  auto t = Open();
  table::BINFO* e = Entry(*t, "a b.txt");
  exec::OpenEntries(*t, e, handler_);
  ASSERT_EQ(handler_.files.size(), 1u);
  EXPECT_EQ(handler_.files[0].path, dir_.Path("a b.txt"));
  EXPECT_TRUE(handler_.files[0].marked);
  EXPECT_EQ(e->Data()->state & table::kOpenMark, 0);
  EXPECT_EQ(t->DirectoryString(), dir_.Dir()) << "the table stays";
}

TEST_F(OpenEntriesTest, EntryWithoutUsableNameIsRefused) {
  MakeFile("look.txt");
  MakeDir("lookdir");
  auto t = Open();
  for (const char* name : {"look.txt", "lookdir"}) {
    table::SM_DAT& d = *Entry(*t, name)->Data();
    d.unmappable = true;  // a look-alike name without an 8.3 alias
    d.alias.clear();
    exec::OpenEntries(*t, Entry(*t, name), handler_);
  }
  EXPECT_EQ(handler_.unreachable, (std::vector<std::string>{"look.txt", "lookdir"}));
  EXPECT_TRUE(handler_.files.empty());
  EXPECT_TRUE(handler_.entered.empty());
  EXPECT_EQ(t->DirectoryString(), dir_.Dir());
}

TEST_F(OpenEntriesTest, LookAlikeIsOpenedThroughItsAlias) {
  MakeFile("look.txt");
  auto t = Open();
  table::SM_DAT& d = *Entry(*t, "look.txt")->Data();
  d.unmappable = true;
  d.alias = "LOOK~1.TXT";
  exec::OpenEntries(*t, Entry(*t, "look.txt"), handler_);
  ASSERT_EQ(handler_.files.size(), 1u);
  EXPECT_EQ(handler_.files[0].path, dir_.Path("LOOK~1.TXT"));
}

TEST_F(OpenEntriesTest, SelectedDirectoriesOpenWindowsAndFilesOpenInListOrder) {
  MakeDir("d1");
  MakeDir("d2");
  MakeDir("skipped");
  MakeFile("f.txt");
  MakeFile("g.txt");
  auto t = Open();
  for (const char* name : {"d1", "d2", "f.txt"})
    ASSERT_TRUE(table::Select(*t, Entry(*t, name), nullptr)) << name;
  // The entry under the cursor does not matter when entries are selected.
  exec::OpenEntries(*t, Entry(*t, "g.txt"), handler_);
  ASSERT_EQ(handler_.windows.size(), 2u);
  EXPECT_EQ(handler_.windows[0].dx, 48);
  EXPECT_EQ(handler_.windows[0].dy, 48);
  EXPECT_EQ(handler_.windows[0].currentDirectory, Sub("d1"));
  EXPECT_EQ(handler_.windows[1].dx, 80);
  EXPECT_EQ(handler_.windows[1].dy, 80);
  EXPECT_EQ(handler_.windows[1].currentDirectory, Sub("d2"));
  ASSERT_EQ(handler_.files.size(), 1u);
  EXPECT_EQ(handler_.files[0].path, dir_.Path("f.txt"));
  EXPECT_TRUE(handler_.files[0].marked);
  EXPECT_EQ(t->selectedCount(), 0);
  for (table::BINFO* e : t->Entries()) EXPECT_EQ(e->Data()->state & table::kOpenMark, 0);
  EXPECT_EQ(t->DirectoryString(), dir_.Dir()) << "the table stays where it was";
  EXPECT_TRUE(handler_.entered.empty());
}

TEST_F(OpenEntriesTest, TextLineStandsForItsEntryAndOtherNodesAreIgnored) {
  MakeDir("sub");
  auto t = Open();
  table::BINFO* sub = Entry(*t, "sub");
  EXPECT_EQ(exec::EntryOfNode(*t, sub), sub);
  EXPECT_EQ(exec::EntryOfNode(*t, nullptr), nullptr);
  EXPECT_EQ(exec::EntryOfNode(*t, t->sentinel()), nullptr);
  table::BINFO line(sub, table::kSizeLine);
  EXPECT_EQ(exec::EntryOfNode(*t, &line), sub);
}

TEST(LastComponentTest, NamesTheDirectoryOfAPath) {
  const struct {
    const char* path;
    const char* last;
  } cases[] = {
      {"C:\\a\\b", "b"},
      {"C:\\a\\b\\", "b"},
      {"C:\\", ""},
      {"C:\\dir.ext", "dir.ext"},
      {"\\\\server\\share\\x", "x"},
      // 表 ends in the byte of "\": it is one character, not a separator.
      {"C:\\a\\\x95\x5C", "\x95\x5C"},
  };
  for (const auto& c : cases) EXPECT_EQ(exec::LastComponent(c.path), c.last) << c.path;
}

TEST_F(OpenEntriesTest, SelectedFilesGoByAddressNameInListOrder) {
  MakeFile("b.txt");
  MakeFile("a.txt");
  MakeFile("c.txt");
  auto t = Open();
  for (const char* name : {"c.txt", "a.txt"}) table::Select(*t, Entry(*t, name), nullptr);
  table::SM_DAT& c = *Entry(*t, "c.txt")->Data();
  c.unmappable = true;
  c.alias = "C~1.TXT";
  const std::vector<exec::SelectedFile> files = exec::SelectedFilesOf(*t);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "a.txt");
  EXPECT_EQ(files[1].name, "C~1.TXT");
  EXPECT_FALSE(files[1].isLink);
}

TEST_F(OpenEntriesTest, RunDialogStartsFromTheTargetEntry) {
  MakeFile("a.txt");
  MakeFile("b.txt");
  auto t = Open();
  const struct {
    const char* cursor;
    const char* selected;  // null: nothing selected
    const char* answer;
  } cases[] = {
      {"a.txt", nullptr, "a.txt"},
      {"a.txt", "b.txt", "b.txt"},  // the selection wins over the cursor
      {"..", nullptr, ""},          // ".." is no target
  };
  for (const auto& c : cases) {
    table::DeselectAll(*t, nullptr);
    t->SetCursor(Entry(*t, c.cursor));
    if (c.selected) table::Select(*t, Entry(*t, c.selected), nullptr);
    EXPECT_EQ(exec::RunDialogAnswer(*t), c.answer) << c.cursor;
  }
  table::SM_DAT& a = *Entry(*t, "a.txt")->Data();
  a.link = std::make_unique<table::LinkTexts>();
  a.link->target = "C:\\tools\\edit.exe";
  a.link->arguments = "-n";
  a.linkFlags = table::kIsLink | table::kIsShortcut;
  table::DeselectAll(*t, nullptr);
  t->SetCursor(Entry(*t, "a.txt"));
  EXPECT_EQ(exec::RunDialogAnswer(*t), "C:\\tools\\edit.exe -n")
      << "a shortcut gives its target and arguments";
  // A look-alike (its listed name may be a neighbour's) is offered by its alias, or not at all.
  table::SM_DAT& b = *Entry(*t, "b.txt")->Data();
  b.unmappable = true;
  b.alias = "B~1.TXT";
  t->SetCursor(Entry(*t, "b.txt"));
  EXPECT_EQ(exec::RunDialogAnswer(*t), "B~1.TXT");
  b.alias.clear();
  EXPECT_EQ(exec::RunDialogAnswer(*t), "");
}

}  // namespace
