// The icons of table entries by how they are started: shared through association records,
// cached by name with date and time for programs, an icon file's own image only when the file
// is sound, built-in icons when the shell has none, nothing for folders.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>

#include "config/config_file.h"
#include "exec/icon_loading.h"
#include "exec/table_associations.h"
#include "tests/unit/monitor_test_support.h"
#include "tests/unit/table_test_support.h"
#include "tests/unit/test_util.h"

namespace {

using monitortest::CountingIcons;

// Shell icons for the paths it is told have them; every icon a fresh cell the release hook of
// CountingIcons frees.
class FakeShell : public exec::IconProvider {
 public:
  bool FileIcons(const std::string& path, void** large, void** small) override {
    shellCalls.push_back(path);
    *large = *small = nullptr;
    if (!withIcons.count(Lower(path))) return false;
    *large = Make();
    *small = Make();
    largeMadeFor[*large] = path;
    return true;
  }
  void* ExtractIcon(const std::string& path) override {
    extractCalls.push_back(path);
    return withIcons.count(Lower(path)) ? Make() : nullptr;
  }
  std::string SearchPath(const std::string& name) override {
    return name == "ext.exe" ? "C:\\bin\\ext.exe" : std::string();
  }
  static std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
  static void* Make() {
    ++CountingIcons::Alive();
    return new int(0);
  }
  std::set<std::string> withIcons;  // lower case
  std::vector<std::string> shellCalls, extractCalls;
  std::map<void*, std::string> largeMadeFor;  // the path each large icon was last made for
};

class IconLoadingTest : public tabletest::TableTest {
 protected:
  void SetUp() override {
    TableTest::SetUp();
    CountingIcons::Alive() = 0;
    lists_.extensions.Append(".TXT", "ext.exe \"%1\"");
    lists_.extensions.Append(".EXE", "\"%1\" %*");
  }
  void TearDown() override {
    table_.reset();
    lists_ = exec::Associations();
    EXPECT_EQ(CountingIcons::Alive(), 0) << "icon handles leaked or destroyed twice";
    TableTest::TearDown();
  }
  void Load(table::Sorm& t, int platform = 4) {
    exec::EntryIconLoader loader(lists_, shell_, platform);
    LoadWith(t, loader);
  }
  // With the table's own lists, read from the configuration file as in the program.
  void LoadFromTableLists(table::Sorm& t) {
    exec::EntryIconLoader loader(
        [](table::Sorm& s) -> exec::Associations& { return exec::TableAssociations(s); }, shell_,
        4);
    LoadWith(t, loader);
  }
  void LoadWith(table::Sorm& t, exec::EntryIconLoader& loader) {
    // Stand-ins for the program's built-in icons (shared, never destroyed).
    static char builtin[8];
    for (int i = 0; i < 8; ++i) t.icons().builtin[i] = &builtin[i];
    std::lock_guard<std::mutex> g(t.lock());
    for (table::BINFO* e : t.Entries()) loader.LoadIcons(t, t.DirectoryString(), *e);
  }
  // The associations changed: the table reads its lists again and lists its folder anew.
  void AssociationsChanged(table::Sorm& t) {
    {
      std::lock_guard<std::mutex> g(t.lock());
      exec::ReloadTableAssociations(t);
    }
    t.ReloadKeepPosition();
  }
  table::SM_DAT& Data(const std::string& name) { return *Entry(*table_, name)->Data(); }
  void AllowIcons(const std::string& path) { shell_.withIcons.insert(FakeShell::Lower(path)); }

  CountingIcons hook_;  // installs the release hook
  FakeShell shell_;
  exec::Associations lists_;
  std::unique_ptr<table::Sorm> table_;
};

TEST_F(IconLoadingTest, FilesOfOneAssociationShareTheIconsOfTheirRecord) {
  // By extension: the first file's own shell icons; by name: the program's (found on the
  // search path).
  lists_.names.Append("NOTES", "ext.exe %1");
  for (const char* f : {"a.txt", "b.txt", "c.TXT", "notes.doc", "notes.xls"}) MakeFile(f);
  AllowIcons(dir_.Path("a.txt"));
  AllowIcons("C:\\bin\\ext.exe");
  table_ = Open();
  Load(*table_);
  EXPECT_EQ(shell_.shellCalls, (std::vector<std::string>{dir_.Path("a.txt"), "C:\\bin\\ext.exe"}));
  struct Case {
    const exec::ExecLinkInfo* record;
    std::vector<const char*> files;
  } cases[] = {{lists_.extensions.Find(".TXT"), {"a.txt", "b.txt", "c.TXT"}},
               {lists_.names.Find("NOTES"), {"notes.doc", "notes.xls"}}};
  for (const Case& c : cases) {
    ASSERT_TRUE(c.record->ownsIcons);
    for (const char* name : c.files) {
      EXPECT_EQ(Data(name).largeIcon, c.record->largeIcon) << name;
      EXPECT_EQ(Data(name).iconFlags, 0) << name;  // the record owns them
    }
  }
}

// When the shell has no icon for an association, its record takes the built-in icons of the
// first file, so the other files of the association do not ask the shell again (under the
// table's lock, once per file). The record shows them but never destroys them.
TEST_F(IconLoadingTest, AnAssociationWithoutIconsAsksTheShellOnce) {
  struct Case {
    const char* name;
    int platform;
    bool byName;
  } cases[] = {{"by extension", 4, false}, {"by name", 4, true}, {"old platform", 3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    table_.reset();
    lists_ = exec::Associations();
    lists_.extensions.Append(".TXT", "ext.exe \"%1\"");
    lists_.names.Append("NOTES", "ext.exe %1");
    shell_.shellCalls.clear();
    shell_.extractCalls.clear();
    const std::vector<std::string> files =
        c.byName ? std::vector<std::string>{"notes.a", "notes.b", "notes.c"}
                 : std::vector<std::string>{"a.txt", "b.txt", "c.txt"};
    for (const std::string& f : files) MakeFile(f);
    table_ = Open();
    Load(*table_, c.platform);
    EXPECT_EQ(shell_.shellCalls.size() + shell_.extractCalls.size(), 1u);
    const exec::ExecLinkInfo* record =
        c.byName ? lists_.names.Find("NOTES") : lists_.extensions.Find(".TXT");
    ASSERT_NE(record->largeIcon, nullptr);
    EXPECT_FALSE(record->ownsIcons) << "built-in icons stay the pane's";
    for (const std::string& f : files) {
      EXPECT_EQ(Data(f).largeIcon, table_->icons().builtin[1]) << f;  // the program icon
      EXPECT_EQ(Data(f).iconFlags, 0) << f;
    }
    for (const std::string& f : files) testutil::RemoveTree(dir_.Path(f));
  }
}

TEST_F(IconLoadingTest, ProgramsAreCachedByNameDateAndTimeAcrossDirectories) {
  MakeDir("one");
  MakeDir("two");
  MakeDir("three");
  const os::FileTime t1 = tabletest::LocalFileTime(2020, 1, 2, 3, 4, 6);
  const os::FileTime t2 = tabletest::LocalFileTime(2021, 1, 2, 3, 4, 6);
  for (const char* d : {"one", "two", "three"}) {
    const std::string p = dir_.Path(std::string(d) + "\\tool.exe");
    ASSERT_TRUE(testutil::WriteFileBytes(p, "MZ"));
    ASSERT_TRUE(tabletest::SetWriteTime(p, std::string(d) == "three" ? t2 : t1));
    AllowIcons(p);
  }
  table_ = Open(dir_.Path("one"));
  Load(*table_);
  void* first = Data("tool.exe").largeIcon;
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(Data("tool.exe").iconFlags & table::kFromCache);
  // The same program elsewhere, same date and time: the cached icon, no shell call.
  ASSERT_EQ(table_->ChangePath(dir_.Path("two").c_str()), 0);
  table_->Reload();
  Load(*table_);
  EXPECT_EQ(Data("tool.exe").largeIcon, first);
  EXPECT_EQ(shell_.shellCalls.size(), 1u);
  // A newer copy replaces it (the shell is asked again).
  ASSERT_EQ(table_->ChangePath(dir_.Path("three").c_str()), 0);
  table_->Reload();
  Load(*table_);
  EXPECT_EQ(shell_.shellCalls.size(), 2u);
  EXPECT_EQ(shell_.shellCalls.back(), dir_.Path("three\\tool.exe"));
  EXPECT_EQ(table_->iconCache().Count(), 1);  // the stale node went with its last user
}

// Icons cached under a file name belong to the file's association of the time: once it
// changes, a program or an icon file shows its new program's icon, not the cached one.
TEST_F(IconLoadingTest, AfterAnAssociationChangesItsFilesShowTheNewProgramsIcon) {
  struct Case {
    const char* file;
    const char* key;  // its new association in [ExecLink]
    exec::AssociationKind kind;
  } cases[] = {
      {"tool.exe", "tool.exe", exec::AssociationKind::kByFullName},
      {"util.exe", "util", exec::AssociationKind::kByName},
      {"pic.ico", "pic.ico", exec::AssociationKind::kByFullName},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path(c.file), "MZ"));
    AllowIcons(dir_.Path(c.file));
  }
  AllowIcons("C:\\bin\\ext.exe");
  table_ = Open();
  LoadFromTableLists(*table_);
  for (const Case& c : cases) {
    ASSERT_NE(Data(c.file).cache, nullptr) << c.file << " is cached by its name";
    EXPECT_EQ(Data(c.file).cache->key, c.file);
  }
  for (const Case& c : cases)
    ASSERT_TRUE(config::WriteConfigString("ExecLink", c.key, "ext.exe %1"));
  AssociationsChanged(*table_);
  LoadFromTableLists(*table_);
  exec::Associations& lists = exec::TableAssociations(*table_);
  for (const Case& c : cases) {
    ASSERT_NE(lists.List(c.kind).Find(c.key), nullptr) << c.key;
    void* icon = Data(c.file).largeIcon;
    ASSERT_NE(icon, nullptr) << c.file;
    EXPECT_EQ(shell_.largeMadeFor[icon], "C:\\bin\\ext.exe")
        << c.file << " shows the icon of its new program";
  }
}

TEST_F(IconLoadingTest, UnassociatedFilesGetShellOrBuiltInIcons) {
  MakeFile("data.qqq");
  MakeFile("more.qqq");
  MakeFile("README");
  MakeFile("plain.zzz");
  AllowIcons(dir_.Path("data.qqq"));
  AllowIcons(dir_.Path("README"));
  table_ = Open();
  Load(*table_);
  // An extension nobody knows is remembered as a record: its files share one pair of icons.
  EXPECT_EQ(Data("data.qqq").largeIcon, Data("more.qqq").largeIcon);
  EXPECT_EQ(Data("data.qqq").iconFlags, 0);
  // No extension, no record: the entry owns what the shell gave.
  EXPECT_EQ(Data("README").iconFlags, table::kOwnsLarge | table::kOwnsSmall);
  // The shell gives nothing: the built-in document icons, owned by nobody.
  EXPECT_EQ(Data("plain.zzz").largeIcon, table_->icons().builtin[2]);
  EXPECT_EQ(Data("plain.zzz").iconFlags, 0);
}

TEST_F(IconLoadingTest, FoldersAndLinksToFoldersAreLeftToTheTablesFolderIcons) {
  MakeDir("sub");
  table_ = Open();
  Load(*table_);
  EXPECT_EQ(Data("sub").largeIcon, nullptr);
  EXPECT_EQ(Data("..").largeIcon, nullptr);
  EXPECT_TRUE(shell_.shellCalls.empty());
}

std::string IconFile(uint16_t reserved, uint16_t type, uint16_t count, uint32_t size,
                     uint32_t offset, std::size_t total) {
  std::string b(total, '\0');
  auto put16 = [&](std::size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
  };
  auto put32 = [&](std::size_t at, uint32_t v) {
    put16(at, static_cast<uint16_t>(v & 0xFFFF));
    put16(at + 2, static_cast<uint16_t>(v >> 16));
  };
  put16(0, reserved);
  put16(2, type);
  put16(4, count);
  if (total >= 22) {
    put32(6 + 8, size);
    put32(6 + 12, offset);
  }
  return b;
}

// An icon file of several images (size, offset each), total bytes long.
std::string MultiIconFile(const std::vector<std::pair<uint32_t, uint32_t>>& images,
                          std::size_t total) {
  std::string b = IconFile(0, 1, static_cast<uint16_t>(images.size()), 0, 0, total);
  for (std::size_t i = 0; i < images.size(); ++i)
    for (int k = 0; k < 4; ++k) {
      b[6 + 16 * i + 8 + k] = static_cast<char>((images[i].first >> (8 * k)) & 0xFF);
      b[6 + 16 * i + 12 + k] = static_cast<char>((images[i].second >> (8 * k)) & 0xFF);
    }
  return b;
}

// Nine images of 256 x 256 pixels at 32 bits, one after the other: a real icon of over 2 MiB.
std::string LargeRealIcon() {
  const uint32_t image = static_cast<uint32_t>(exec::kMaxIconImageBytes);
  std::vector<std::pair<uint32_t, uint32_t>> images;
  for (uint32_t i = 0; i < 9; ++i) images.push_back({image, 6 + 16 * 9 + i * image});
  return MultiIconFile(images, 6 + 16 * 9 + 9 * std::size_t{image});
}

TEST_F(IconLoadingTest, IconFilesShowTheirOwnImageOnlyWhenSound) {
  struct Case {
    const char* name;
    std::string bytes;
    bool extracted;
  } cases[] = {
      {"good.ico", IconFile(0, 1, 1, 100, 22, 122), true},
      {"good.CUR", IconFile(0, 2, 1, 100, 22, 122), true},
      {"reserved.ico", IconFile(1, 1, 1, 100, 22, 122), false},
      {"type3.ico", IconFile(0, 3, 1, 100, 22, 122), false},
      {"none.ico", IconFile(0, 1, 0, 100, 22, 122), false},
      {"past end.ico", IconFile(0, 1, 1, 100, 22, 121), false},
      {"overlaps directory.ico", IconFile(0, 1, 1, 100, 10, 122), false},
      {"truncated.ico", IconFile(0, 1, 1, 100, 22, 12), false},
      {"empty.ico", std::string(), false},
      {"huge.ico", IconFile(0, 1, 1, 2000000, 22, 2000022), false},
      {"large real.ico", LargeRealIcon(), true},
      {"images overlap.ico", MultiIconFile({{100, 38}, {100, 100}}, 300), false},
      {"images touch.ico", MultiIconFile({{100, 38}, {100, 138}}, 238), true},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path(c.name), c.bytes));
    AllowIcons(dir_.Path(c.name));
  }
  SetKey("bmpicon", "1");
  table_ = Open();
  Load(*table_);
  for (const Case& c : cases) {
    const bool asked = std::count(shell_.extractCalls.begin(), shell_.extractCalls.end(),
                                  dir_.Path(c.name)) == 1;
    EXPECT_EQ(asked, c.extracted) << c.name;
    const table::SM_DAT& d = Data(c.name);
    EXPECT_NE(d.largeIcon, nullptr) << c.name;  // its own image, or the shell's document icon
    if (c.extracted) {
      ASSERT_NE(d.cache, nullptr);
      EXPECT_EQ(d.cache->key, dir_.Path(c.name));  // cached by full path
    }
  }
}

TEST_F(IconLoadingTest, WithoutBmpiconIconFilesAreDocumentsCachedByName) {
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("a.ico"), IconFile(0, 1, 1, 100, 22, 122)));
  AllowIcons(dir_.Path("a.ico"));
  table_ = Open();
  Load(*table_);
  EXPECT_TRUE(shell_.extractCalls.empty());
  ASSERT_NE(Data("a.ico").cache, nullptr);
  EXPECT_EQ(Data("a.ico").cache->key, "a.ico");
}

TEST_F(IconLoadingTest, OldPlatformsUseTheExtractorAndBuiltInIcons) {
  MakeFile("doc.qqq");
  MakeFile("a.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("p.exe"), "MZ"));
  AllowIcons(dir_.Path("p.exe"));
  table_ = Open();
  Load(*table_, 3);
  EXPECT_TRUE(shell_.shellCalls.empty());
  EXPECT_EQ(Data("doc.qqq").largeIcon, table_->icons().builtin[2]);
  EXPECT_EQ(Data("a.txt").largeIcon, table_->icons().builtin[1]);  // ext.exe has no icon
  EXPECT_TRUE(Data("p.exe").iconFlags & table::kFromCache);
  EXPECT_EQ(shell_.extractCalls,
            (std::vector<std::string>{"C:\\bin\\ext.exe", dir_.Path("p.exe")}));
}

// Icons cached under a full path (an icon file's own image) do not depend on an association:
// they are found again after a change.
TEST_F(IconLoadingTest, IconsCachedByTheirFullPathOutlastAnAssociationChange) {
  ASSERT_TRUE(testutil::WriteFileBytes(dir_.Path("own.ico"), IconFile(0, 1, 1, 100, 22, 122)));
  AllowIcons(dir_.Path("own.ico"));
  SetKey("bmpicon", "1");
  table_ = Open();
  LoadFromTableLists(*table_);
  ASSERT_EQ(shell_.extractCalls.size(), 1u);
  AssociationsChanged(*table_);
  LoadFromTableLists(*table_);
  EXPECT_EQ(shell_.extractCalls.size(), 1u) << "the cached image is used again";
  ASSERT_NE(Data("own.ico").cache, nullptr);
  EXPECT_EQ(Data("own.ico").cache->key, dir_.Path("own.ico"));
}

}  // namespace
