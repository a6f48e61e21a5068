// Names that another system can make but that the path calls rewrite or refuse: "report." and
// "report " are read as "report", a folder "photos." as "photos", "con" is the console, a name
// with a line break is invalid. A listed name like that leads to its neighbour or nowhere, so
// the table takes such an entry by its 8.3 alias, or refuses it where it has none, and every
// command then reaches exactly that entry and never the neighbour. The same cases run on the
// emulation and under Wine.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/program_context.h"
#include "exec/open_entries.h"
#include "fileops/attribute_change.h"
#include "fileops/engine.h"
#include "os/exact_name.h"
#include "os/services.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"
#include "tests/unit/table_test_support.h"
#include "tests/unit/wide_names.h"

namespace {

using Files = std::map<std::string, std::string>;

TEST(NameLeadsBack, NamesThePathCallsRewriteOrRefuse) {
  struct Case {
    const char* name;
    bool leadsBack;
    bool device;
  } cases[] = {
      {"report", true, false},
      {"report.txt", true, false},
      {".", true, false},
      {"..", true, false},
      {".profile", true, false},
      {"a b", true, false},
      {" a", true, false},
      {"a.b.c", true, false},
      {"\x95\x5C", true, false},          // 表: a trail byte "\"
      {"\x83\x7C\x83\x93", true, false},  // a trail byte "|"
      {"report.", false, false},
      {"report ", false, false},
      {"report. .", false, false},
      {"...", false, false},
      {"a\nb", false, false},
      {"a\rb", false, false},
      {"tab\tx", false, false},
      {"\x1f", false, false},
      {"\x95\x0a", false, false},  // a lead byte before a line break
      {"a\\b", false, false},
      {"a/b", false, false},
      {"a:b", false, false},
      {"a*b", false, false},
      {"a?b", false, false},
      {"a\"b", false, false},
      {"a<b", false, false},
      {"a>b", false, false},
      {"a|b", false, false},
      {"", false, false},
      {"con", false, true},
      {"CON", false, true},
      {"Prn.txt", false, true},
      {"aux .log", false, true},
      {"NUL.tar.gz", false, true},
      {"nul..txt", false, true},
      {"COM1", false, true},
      {"com9.bin", false, true},
      {"LPT5  .txt", false, true},
      {"lpt1", false, true},
      {"con0", true, false},
      {"com0", true, false},
      {"lpt10", true, false},
      {"console", true, false},
      {"xcon", true, false},
      {"co n", true, false},
      {"comx.txt", true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(os::NameLeadsBack(c.name), c.leadsBack) << testing::PrintToString(c.name);
    EXPECT_EQ(os::IsDosDeviceName(c.name), c.device) << testing::PrintToString(c.name);
  }
  EXPECT_FALSE(os::NameLeadsBack(nullptr));
}

TEST(NameLeadsBack, AnAliasIsTakenOnlyWhenItLeadsBackItself) {
  struct Case {
    const char* name;
    const char* alias;
    bool flagged;
    const char* address;  // null: none
  } cases[] = {
      {"a.txt", "", false, "a.txt"},
      {"a.", "A_~~~YNZ", true, "A_~~~YNZ"},
      {"a.", "", true, nullptr},
      // Wine gives "x\y" and "x:y" aliases that keep the character.
      {"x\\y", "X\\Y~~XF3", true, nullptr},
      {"x:y", "X:Y~~R2X", true, nullptr},
      {"x*y", "X_Y~~RYT", true, "X_Y~~RYT"},
  };
  for (const Case& c : cases) {
    const char* address = os::AddressName(c.name, c.alias, c.flagged);
    if (c.address) {
      EXPECT_STREQ(address, c.address) << c.name;
    } else {
      EXPECT_EQ(address, nullptr) << c.name;
    }
  }
}

using RewrittenNameTest = tabletest::CommandTableTest;

// Two entries that the path calls take for one: the one a command is meant for and the one its
// listed name reaches.
struct Pair {
  const char* label;
  std::u16string odd;
  const char* neighbour;
  bool folders;  // both are folders, each holding a file "inner.txt"
};
const Pair kPairs[] = {
    {"file a + a.", u"a.", "a", false},
    {"file a + a ", u"a ", "a", false},
    {"folder d + d.", u"d.", "d", true},
};

const std::string kNeighbourBytes = enginetest::Pattern(300, 7);
const std::string kOddBytes = enginetest::Pattern(333, 99);

// What an entry holds, as enginetest::ReadTree names it below its directory.
Files Content(const Pair& pair, const std::string& name, const std::string& bytes) {
  return pair.folders ? Files{{name + "\\inner.txt", bytes}} : Files{{name, bytes}};
}

Files Joined(Files a, const Files& b, const std::string& prefix = std::string()) {
  for (const auto& [name, bytes] : b) a[prefix + name] = bytes;
  return a;
}

// Makes the pair in folder (which ends in a backslash).
void MakePair(const std::string& folder, const Pair& pair) {
  const std::string neighbour = folder + pair.neighbour;
  if (pair.folders) {
    ASSERT_TRUE(os::Fs().CreateDir(neighbour.c_str()));
    ASSERT_TRUE(testutil::WriteFileBytes(neighbour + "\\inner.txt", kNeighbourBytes));
    ASSERT_TRUE(testutil::MakeWideNamedDirectory(folder, pair.odd)) << pair.label;
    ASSERT_TRUE(testutil::WriteWideNamedFile(folder, pair.odd + u"\\inner.txt", kOddBytes));
  } else {
    ASSERT_TRUE(testutil::WriteFileBytes(neighbour, kNeighbourBytes));
    ASSERT_TRUE(testutil::WriteWideNamedFile(folder, pair.odd, kOddBytes)) << pair.label;
  }
}

// The odd entry's bytes, read with the wide calls that take its name as it stands (nullopt when
// it is not there).
std::optional<std::string> OddBytesOf(const std::string& folder, const Pair& pair) {
  std::string bytes;
  if (!testutil::ReadWideNamedFile(folder, pair.folders ? pair.odd + u"\\inner.txt" : pair.odd,
                                   bytes))
    return std::nullopt;
  return bytes;
}

// The odd entry's name as the listing shows it (plain ASCII in these pairs).
std::string ListedName(const Pair& pair) { return std::string(pair.odd.begin(), pair.odd.end()); }

// The search record folder lists under exactly this name (a test failure when there is not
// exactly one).
os::FindData Listed(const std::string& folder, const std::string& name) {
  os::FindData fd, found;
  int count = 0;
  auto search = os::Fs().FindFirst((folder + "*").c_str(), fd);
  for (bool more = search != nullptr; more; more = search->Next(fd)) {
    if (name != fd.name) continue;
    found = fd;
    ++count;
  }
  EXPECT_EQ(count, 1) << folder << name;
  return found;
}

// The neighbour's state: listed under its own name (and not flagged), its attributes, and what
// it holds.
struct NeighbourState {
  bool listed = false;
  uint32_t attributes = 0;
  uint32_t innerAttributes = 0;
  Files content;
  bool operator==(const NeighbourState&) const = default;
};
NeighbourState StateOf(const std::string& folder, const Pair& pair) {
  NeighbourState s;
  const std::string path = folder + pair.neighbour;
  os::FindData fd;
  s.listed = os::FindExact(path.c_str(), fd) && std::string(fd.name) == pair.neighbour &&
             !fd.unmappable;
  s.attributes = os::Fs().GetAttributes(path.c_str());
  if (pair.folders) {
    s.innerAttributes = os::Fs().GetAttributes((path + "\\inner.txt").c_str());
    s.content = enginetest::ReadTree(path + "\\");
  } else {
    s.content = {{pair.neighbour, testutil::ReadFileBytes(path)}};
  }
  return s;
}
void PrintTo(const NeighbourState& s, std::ostream* os) {
  *os << (s.listed ? "listed" : "not listed") << ", attributes " << s.attributes << "/"
      << s.innerAttributes;
  for (const auto& [name, bytes] : s.content) *os << ", " << name << " " << bytes.size() << " bytes";
}

char g_buffer[4096];

// Copies or moves the entry from to to as the file commands do: a file by itself, a folder as a
// tree. True when the engine reports success.
bool Transfer(const Pair& pair, const std::string& from, const std::string& to, bool move,
              bool renameFirst) {
  const fileops::OperationUi ui = enginetest::Ui();
  int r;
  if (pair.folders) {
    r = move ? fileops::MoveTree(ui, from.c_str(), to.c_str(), g_buffer, sizeof(g_buffer))
             : fileops::CopyTree(ui, from.c_str(), to.c_str(), g_buffer, sizeof(g_buffer));
  } else {
    r = move ? fileops::MoveOneFile(ui, from.c_str(), to.c_str(), g_buffer, sizeof(g_buffer),
                                    renameFirst)
             : fileops::CopyOneFile(ui, from.c_str(), to.c_str(), g_buffer, sizeof(g_buffer));
  }
  return r == fileops::kEngineOk;
}

TEST_F(RewrittenNameTest, EachCommandReachesTheOddEntryAndNeverItsNeighbour) {
  enum class Odd { kStays, kGoes };
  struct Op {
    const char* label;
    // Runs the command; folder holds the pair and the tree "t" with a pair of its own, out is
    // an empty folder; odd is the odd entry's address name. True when it reports success.
    bool (*run)(const Pair& pair, const std::string& folder, const std::string& odd,
                const std::string& out);
    Odd odd;           // the odd entry of folder afterwards
    bool oddInOut;     // the odd entry arrives in out under its address name
    bool treeInOut;    // the tree "t" arrives in out (as "t")
    bool treeGoes;     // the tree "t" is gone afterwards
  };
  const Op ops[] = {
      {"delete",
       [](const Pair& pair, const std::string& f, const std::string& odd, const std::string&) {
         const uint32_t listed = pair.folders ? os::kAttrDirectory : os::kAttrArchive;
         return fileops::DeleteListedEntry(enginetest::Ui(), f + odd, listed) == fileops::kEngineOk;
       },
       Odd::kGoes, false, false, false},
      {"copy",
       [](const Pair& pair, const std::string& f, const std::string& odd, const std::string& o) {
         return Transfer(pair, f + odd, o + odd, false, false);
       },
       Odd::kStays, true, false, false},
      {"move by rename",
       [](const Pair& pair, const std::string& f, const std::string& odd, const std::string& o) {
         return Transfer(pair, f + odd, o + odd, true, true);
       },
       Odd::kGoes, true, false, false},
      {"move by copy",
       [](const Pair& pair, const std::string& f, const std::string& odd, const std::string& o) {
         if (!pair.folders) return Transfer(pair, f + odd, o + odd, true, false);
         // The tree's rename fails as across drives; it is copied and then deleted.
         testutil::InstalledFaultyFs fs;
         fs.Fail(testutil::FsOp::kMove, odd, 1, testutil::kErrNotSameDevice);
         return Transfer(pair, f + odd, o + odd, true, true) && fs.Injected() == 1;
       },
       Odd::kGoes, true, false, false},
      {"tree copy",
       [](const Pair&, const std::string& f, const std::string&, const std::string& o) {
         return fileops::CopyTree(enginetest::Ui(), (f + "t").c_str(), (o + "t").c_str(),
                                  g_buffer, sizeof(g_buffer)) == fileops::kEngineOk;
       },
       Odd::kStays, false, true, false},
      {"tree delete",
       [](const Pair&, const std::string& f, const std::string&, const std::string&) {
         return fileops::DeleteTree(enginetest::Ui(), (f + "t").c_str()) == fileops::kEngineOk;
       },
       Odd::kStays, false, false, true},
      {"attribute change",
       [](const Pair& pair, const std::string& f, const std::string& odd, const std::string&) {
         const std::string path = f + odd;
         // Read-only is no attribute of a folder under Wine; hidden is kept for both.
         const uint32_t flag = pair.folders ? os::kAttrHidden : os::kAttrReadOnly;
         const uint32_t before = os::Fs().GetAttributes(path.c_str());
         bool ok;
         {
           fileops::AttributeChange change(path, before);
           ok = change.Cleared() && change.Finish(before | flag);
         }
         const uint32_t after = Listed(f, ListedName(pair)).attributes;
         return ok && (after & flag) && !(before & flag);
       },
       Odd::kStays, false, false, false},
  };
  int n = 0;
  for (const Pair& pair : kPairs) {
    for (const Op& op : ops) {
      const std::string label = std::string(op.label) + ", " + pair.label;
      SCOPED_TRACE(label);
      const std::string tag = std::to_string(n++);
      const std::string folder = dir_.Path("c" + tag) + "\\";
      const std::string out = dir_.Path("o" + tag) + "\\";
      ASSERT_TRUE(os::Fs().CreateDir(dir_.Path("c" + tag).c_str()));
      ASSERT_TRUE(os::Fs().CreateDir(dir_.Path("o" + tag).c_str()));
      MakePair(folder, pair);
      ASSERT_TRUE(os::Fs().CreateDir((folder + "t").c_str()));
      MakePair(folder + "t\\", pair);

      // The name the table gives the command, as a command takes it.
      auto t = Open(folder);
      table::BINFO* entry = Entry(*t, ListedName(pair));
      ASSERT_NE(entry, nullptr) << "listed as it is";
      const table::SM_DAT* odd = entry->Data();
      EXPECT_TRUE(odd->unmappable) << "flagged as not leading back";
      ASSERT_NE(odd->AddressName(), nullptr);
      const std::string address = odd->AddressName();
      EXPECT_EQ(address, odd->alias);
      const std::string treeAlias = Listed(folder + "t\\", ListedName(pair)).alternateName;
      const Files tree = Joined(Content(pair, pair.neighbour, kNeighbourBytes),
                                Content(pair, treeAlias, kOddBytes));
      const NeighbourState neighbour = StateOf(folder, pair);
      const NeighbourState treeNeighbour = StateOf(folder + "t\\", pair);
      ASSERT_TRUE(neighbour.listed);

      EXPECT_TRUE(op.run(pair, folder, address, out));

      EXPECT_EQ(StateOf(folder, pair), neighbour) << "the neighbour beside the odd entry";
      if (!op.treeGoes) {
        EXPECT_EQ(StateOf(folder + "t\\", pair), treeNeighbour) << "the neighbour in the tree";
        EXPECT_EQ(OddBytesOf(folder + "t\\", pair), kOddBytes) << "the odd entry in the tree";
      } else {
        EXPECT_FALSE(testutil::FileExists(folder + "t"));
      }
      if (op.odd == Odd::kStays) {
        EXPECT_EQ(OddBytesOf(folder, pair), kOddBytes);
      } else {
        EXPECT_FALSE(OddBytesOf(folder, pair).has_value());
      }
      Files expectedOut;
      if (op.oddInOut) expectedOut = Content(pair, address, kOddBytes);
      if (op.treeInOut) expectedOut = Joined(expectedOut, tree, "t\\");
      EXPECT_TREE(enginetest::ReadTree(out), expectedOut);
      EXPECT_TRUE(enginetest::TemporaryFiles(out).empty());
    }
  }
}

// Opening an entry, and looking it up by the name the table gives for it, reaches the odd
// entry; a folder entered by its alias is left with the cursor on it again.
TEST_F(RewrittenNameTest, OpeningAndLookUpReachTheOddEntry) {
  class Recorder : public exec::OpenHandler {
   public:
    table::PaneSurface* Surface() override { return nullptr; }
    void OpenFile(table::Sorm&, table::BINFO*, const std::string& fullPath) override {
      opened.push_back(fullPath);
    }
    void OpenNewWindow(int, int) override {}
    void Unreachable(const table::SM_DAT& d) override { unreachable.push_back(d.name); }
    void DirectoryEntered(table::Sorm&) override {}
    std::vector<std::string> opened, unreachable;
  };
  int n = 0;
  for (const Pair& pair : kPairs) {
    SCOPED_TRACE(pair.label);
    const std::string folder = dir_.Path("r" + std::to_string(n++)) + "\\";
    ASSERT_TRUE(os::Fs().CreateDir(folder.substr(0, folder.size() - 1).c_str()));
    MakePair(folder, pair);
    auto t = Open(folder);
    table::BINFO* odd = Entry(*t, ListedName(pair));
    ASSERT_NE(odd, nullptr);
    const std::string path = exec::EntryPath(*t, *odd->Data());
    EXPECT_EQ(path, folder + odd->Data()->alias);
    os::FindData fd;
    ASSERT_TRUE(os::FindExact(path.c_str(), fd));
    EXPECT_STREQ(fd.name, odd->Data()->name.c_str()) << "the look-up finds the odd entry";
    EXPECT_TRUE(fd.unmappable);

    Recorder handler;
    exec::OpenEntries(*t, odd, handler);
    EXPECT_TRUE(handler.unreachable.empty());
    if (!pair.folders) {
      ASSERT_EQ(handler.opened.size(), 1u);
      EXPECT_EQ(testutil::ReadFileBytes(handler.opened[0]), kOddBytes);
      continue;
    }
    // The table lists the odd folder's contents, not the neighbour's.
    EXPECT_EQ(t->path(), path);
    EXPECT_EQ(Names(*t), (std::vector<std::string>{"..", "inner.txt"}));
    EXPECT_EQ(testutil::ReadFileBytes(t->DirectoryString() + "inner.txt"), kOddBytes);
    exec::OpenEntries(*t, Entry(*t, ".."), handler);
    ASSERT_TRUE(t->HasCursor());
    EXPECT_TRUE(t->cursor()->Data()->unmappable) << "back on " << t->cursor()->Data()->name;
  }
}

// Every kind of name that does not lead back is flagged in the listing of both backends, with
// the alias the system gives it (none for a device name or a control character), and that alias
// reaches it; names that merely look alike are listed as they are.
TEST_F(RewrittenNameTest, TheListingFlagsEachNameThatDoesNotLeadBack) {
  struct Name {
    std::u16string name;
    bool flagged;
    bool alias;
    bool directory = false;
  };
  const Name names[] = {
      {u"a", false, false},
      {u"a.", true, true},
      {u"a ", true, true},
      {u"...", true, true},
      {u"b..", true, true},
      {u"d.", true, true, true},
      {u"con", true, false},
      {u"CON.txt", true, false},
      {u"con .txt", true, true},
      {u"NUL.tar.gz", true, true},
      {u"lpt1", true, false},
      {u"Com9.log", true, false},
      {u"con0", false, false},
      {u"console.txt", false, true},
      {u"x y", false, true},
  };
  const std::string folder = dir_.Path("l") + "\\";
  ASSERT_TRUE(os::Fs().CreateDir(dir_.Path("l").c_str()));
  std::map<std::string, std::string> bytesByListed;
  int i = 0;
  for (const Name& n : names) {
    const std::string bytes = enginetest::Pattern(50 + i, 500 + i);
    ++i;
    if (n.directory) {
      ASSERT_TRUE(testutil::MakeWideNamedDirectory(folder, n.name));
    } else {
      ASSERT_TRUE(testutil::WriteWideNamedFile(folder, n.name, bytes))
          << std::string(n.name.begin(), n.name.end());
    }
    bytesByListed[std::string(n.name.begin(), n.name.end())] = n.directory ? "" : bytes;
  }
  const std::string controls[] = {"a\nb", "tab\tx"};
  bool madeControls = true;
  for (const std::string& c : controls) madeControls = testutil::MakeHostNamedFile(folder, c) && madeControls;
  EXPECT_TRUE(madeControls) << "the host makes names with control characters";

  // Hidden files shown: Wine reports a host name beginning with a dot as hidden.
  SetKey("vinfo", std::to_string(table::kShowHidden));
  auto t = Open(folder);
  auto check = [&](const std::string& listed, bool flagged, bool alias) {
    SCOPED_TRACE(testing::PrintToString(listed));
    table::BINFO* e = nullptr;
    for (table::BINFO* x = t->FirstEntry(); x != t->sentinel(); x = x->NextNode())
      if (x->Data()->name == listed) e = x;
    ASSERT_NE(e, nullptr) << "listed as it is";
    const table::SM_DAT& d = *e->Data();
    EXPECT_EQ(d.unmappable, flagged);
    if (!flagged) {
      EXPECT_STREQ(d.AddressName(), listed.c_str());
      return;
    }
    EXPECT_EQ(!d.alias.empty(), alias) << "alias " << d.alias;
    if (!alias) {
      EXPECT_EQ(d.AddressName(), nullptr);
      return;
    }
    ASSERT_NE(d.AddressName(), nullptr);
    EXPECT_EQ(d.AddressName(), d.alias);
    // The alias reaches this very entry.
    os::FindData fd;
    ASSERT_TRUE(os::FindExact((folder + d.alias).c_str(), fd));
    EXPECT_EQ(fd.name, listed);
    if (!d.IsDirectory()) {
      EXPECT_EQ(testutil::ReadFileBytes(folder + d.alias), bytesByListed[listed]);
    }
  };
  for (const Name& n : names) check(std::string(n.name.begin(), n.name.end()), n.flagged, n.alias);
  if (madeControls)
    for (const std::string& c : controls) check(c, true, false);

  t.reset();
  for (const std::string& c : controls) testutil::RemoveHostNamedFile(folder, c);
  for (const Name& n : names) testutil::RemoveWideNamed(folder, n.name);
}

// An entry no name reaches (a device name, a line break) is left alone by the tree walks, and
// the neighbours are taken as ever.
TEST_F(RewrittenNameTest, TreeWalksLeaveAnEntryNoNameReaches) {
  const std::string tree = dir_.Path("tree") + "\\";
  ASSERT_TRUE(os::Fs().CreateDir(dir_.Path("tree").c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(tree + "keep.txt", kNeighbourBytes));
  ASSERT_TRUE(testutil::WriteWideNamedFile(tree, u"con", kOddBytes));
  ASSERT_TRUE(testutil::WriteWideNamedFile(tree, u"lpt1.txt", kOddBytes));
  const bool control = testutil::MakeHostNamedFile(tree, "a\nb");
  EXPECT_TRUE(control);

  char buffer[4096];
  EXPECT_NE(fileops::CopyTree(enginetest::Ui(), dir_.Path("tree").c_str(), dir_.Path("copy").c_str(),
                              buffer, sizeof(buffer)),
            fileops::kEngineOk);
  // The walk stops at the first entry it cannot name; nothing of those arrives.
  for (const auto& [name, bytes] : enginetest::ReadTree(dir_.Path("copy\\")))
    EXPECT_EQ(name, "keep.txt");
  EXPECT_NE(fileops::DeleteTree(enginetest::Ui(), dir_.Path("tree").c_str()), fileops::kEngineOk);
  EXPECT_FALSE(testutil::FileExists(tree + "keep.txt")) << "what a name reaches goes";
  std::string bytes;
  EXPECT_TRUE(testutil::ReadWideNamedFile(tree, u"con", bytes) && bytes == kOddBytes);
  EXPECT_TRUE(testutil::ReadWideNamedFile(tree, u"lpt1.txt", bytes) && bytes == kOddBytes);

  testutil::RemoveWideNamed(tree, u"con");
  testutil::RemoveWideNamed(tree, u"lpt1.txt");
  if (control) testutil::RemoveHostNamedFile(tree, "a\nb");
}

// The pane saves its cursor by the name that reaches the entry: the alias of "a.", never "a."
// (which would bring the cursor back on "a"), and nothing for a name with a line break (whose
// alias keeps the line break).
TEST_F(RewrittenNameTest, TheCursorIsSavedByTheNameThatReachesItsEntry) {
  const std::string folder = dir_.Path("k") + "\\";
  ASSERT_TRUE(os::Fs().CreateDir(dir_.Path("k").c_str()));
  MakePair(folder, kPairs[0]);
  const std::string kEvil = "z\n[ExecLink]\n.txt=evil.exe %1";
  const bool control = testutil::MakeHostNamedFile(folder, kEvil);
  EXPECT_TRUE(control);

  auto t = Open(folder);
  struct Case {
    std::string listed;
    bool reached;  // a name reaches the entry (its alias)
  } cases[] = {{"a.", true}, {kEvil, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.listed));
    table::BINFO* e = Entry(*t, c.listed);
    if (!e) {
      ADD_FAILURE() << "not listed";
      continue;
    }
    t->SetCursor(e);
    EXPECT_TRUE(t->SaveSettings(1));
    const std::string saved = config::ReadConfigString("INST1", "Cursor", "<none>");
    const std::string cfg = testutil::ReadFileBytes(config::Context().configFilePath);
    EXPECT_EQ(cfg.find("[ExecLink]"), std::string::npos);
    EXPECT_NE(saved, c.listed);
    if (!c.reached) {
      EXPECT_EQ(saved, "");
      continue;
    }
    EXPECT_EQ(saved, e->Data()->alias);
    // A pane opened from the saved settings puts the cursor on the same entry.
    auto again = std::make_unique<table::Sorm>(view_, 1);
    ASSERT_TRUE(again->HasCursor());
    EXPECT_EQ(again->cursor()->Data()->name, c.listed);
  }
  t.reset();
  if (control) testutil::RemoveHostNamedFile(folder, kEvil);
}

}  // namespace
