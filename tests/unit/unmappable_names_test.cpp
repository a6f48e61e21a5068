// Names the code page cannot hold. The ANSI listing shows such a name as a look-alike ("?" for
// a character without a form, a best-fit letter for an accented one) that leads to no file or
// to a neighbour; the table must reach the entry by its 8.3 alias, refuse it when there is no
// alias, and never hand the look-alike to a call that expands wildcards. The same cases run on
// the emulation and under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fileops/engine.h"
#include "os/exact_name.h"
#include "os/last_error.h"
#include "os/services.h"
#include "table/selection.h"
#include "table/sorm.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"
#include "tests/unit/table_test_support.h"
#include "tests/unit/wide_names.h"

#ifndef _WIN32
#include "os/posix/host_names.h"
#endif

namespace {

struct NameSet {
  const char* label;
  std::u16string odd;                 // the entry the command is meant for
  std::vector<std::string> listedAs;  // what the ANSI listing may show for it
};

const NameSet kSets[] = {
    {"no form (Thai letter)", u"caf\u0E01.txt", {"caf?.txt"}},
    {"best fit (accented letter)", u"caf\u00E9.txt", {"cafe.txt", "caf?.txt"}},
};
const std::string kNeighbours[] = {"cafe.txt", "cafx.txt"};

class UnmappableNameTest : public tabletest::CommandTableTest {
 protected:
  // A fresh folder in the listing directory with the odd file and its two neighbours, each
  // with bytes of its own. Returns the folder with its backslash.
  std::string MakeFolder(const std::string& name, const NameSet& set) {
    const std::string folder = dir_.Path(name) + "\\";
    EXPECT_TRUE(os::Fs().CreateDir(dir_.Path(name).c_str())) << name;
    for (unsigned i = 0; i < 2; ++i)
      EXPECT_TRUE(testutil::WriteFileBytes(folder + kNeighbours[i], Neighbour(i)));
    EXPECT_TRUE(testutil::WriteWideNamedFile(folder, set.odd, OddBytes())) << set.label;
    return folder;
  }
  static std::string Neighbour(unsigned i) { return enginetest::Pattern(300 + i, 7 + i); }
  static std::string OddBytes() { return enginetest::Pattern(333, 99); }

  // The neighbours are there with their bytes.
  static void ExpectNeighboursIntact(const std::string& folder, const std::string& label) {
    for (unsigned i = 0; i < 2; ++i)
      EXPECT_EQ(testutil::ReadFileBytes(folder + kNeighbours[i]), Neighbour(i))
          << label << ": " << kNeighbours[i];
  }
  static void ExpectOdd(const std::string& folder, const NameSet& set, bool present,
                        const std::string& label) {
    std::string bytes;
    EXPECT_EQ(testutil::ReadWideNamedFile(folder, set.odd, bytes), present) << label;
    if (present) {
      EXPECT_EQ(bytes, OddBytes()) << label;
    }
  }

  // The one entry of t flagged as a look-alike (a test failure when there is not exactly one).
  static const table::SM_DAT* OddEntry(const table::Sorm& t) {
    const table::SM_DAT* odd = nullptr;
    int count = 0;
    for (table::BINFO* e = t.FirstEntry(); e != t.sentinel(); e = e->NextNode()) {
      if (!e->Data()->unmappable) continue;
      odd = e->Data();
      ++count;
    }
    EXPECT_EQ(count, 1);
    return odd;
  }
};

TEST_F(UnmappableNameTest, TheListingFlagsTheLookAlikeAndKeepsItsAlias) {
  int n = 0;
  for (const NameSet& set : kSets) {
    const std::string folder = MakeFolder("l" + std::to_string(n++), set);
    auto t = Open(folder);
    const table::SM_DAT* odd = OddEntry(*t);
    ASSERT_NE(odd, nullptr) << set.label;
    EXPECT_NE(std::find(set.listedAs.begin(), set.listedAs.end(), odd->name), set.listedAs.end())
        << set.label << ": listed as " << odd->name;
    ASSERT_FALSE(odd->alias.empty()) << set.label;
    EXPECT_STREQ(odd->AddressName(), odd->alias.c_str()) << set.label;
    // The alias leads back to exactly this file.
    EXPECT_EQ(testutil::ReadFileBytes(folder + odd->alias), OddBytes()) << set.label;
    for (const std::string& neighbour : kNeighbours) {
      const table::SM_DAT* d = nullptr;
      for (table::BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode())
        if (e->Data()->name == neighbour && !e->Data()->unmappable) d = e->Data();
      ASSERT_NE(d, nullptr) << set.label << ": " << neighbour;
      EXPECT_STREQ(d->AddressName(), neighbour.c_str()) << set.label;
    }
  }
}

TEST_F(UnmappableNameTest, CallsThatExpandWildcardsRefuseAListedName) {
  const std::string folder = MakeFolder("w", kSets[0]);
  const std::string listed = folder + "caf?.txt";
  struct Case {
    const char* label;
    bool (*call)(const std::string&);
    bool invalidName;  // fails with ERROR_INVALID_NAME itself (the engine reports its own result)
  };
  const Case cases[] = {
      {"shell delete",
       [](const std::string& p) { return os::Fs().ShellDelete(p.c_str(), false); }, true},
      {"shell delete to the bin",
       [](const std::string& p) { return os::Fs().ShellDelete(p.c_str(), true); }, true},
      {"exact find",
       [](const std::string& p) {
         os::FindData fd;
         return os::FindExact(p.c_str(), fd);
       },
       true},
      {"engine delete",
       [](const std::string& p) { return fileops::DeleteOneFile(enginetest::Ui(), p.c_str()) == fileops::kEngineOk; },
       false},
  };
  for (const Case& c : cases) {
    os::SetLastError(0);
    EXPECT_FALSE(c.call(listed)) << c.label;
    if (c.invalidName) {
      EXPECT_EQ(os::LastError(), os::kErrInvalidName) << c.label;
    }
    ExpectNeighboursIntact(folder, c.label);
    ExpectOdd(folder, kSets[0], true, c.label);
  }
}

TEST_F(UnmappableNameTest, EachCommandReachesOnlyTheOddEntry) {
  const os::FileTime kWhen = enginetest::TimeAt(86400 * 30);
  struct Op {
    const char* label;
    // Runs the command on folder + name (out: a second, empty folder); false on failure.
    bool (*run)(const std::string& folder, const std::string& name, const std::string& out);
    // Where the odd file's bytes must be afterwards ("" for nowhere), relative to out or the
    // folder ("~" stands for the alias).
    const char* inFolder;
    const char* inOut;
  };
  const Op ops[] = {
      {"delete",
       [](const std::string& f, const std::string& n, const std::string&) {
         return fileops::DeleteOneFile(enginetest::Ui(), (f + n).c_str()) == fileops::kEngineOk;
       },
       "", ""},
      {"copy",
       [](const std::string& f, const std::string& n, const std::string& o) {
         char buffer[4096];
         return fileops::CopyOneFile(enginetest::Ui(), (f + n).c_str(), (o + n).c_str(), buffer, sizeof(buffer)) >= 0;
       },
       "odd", "~"},
      {"move",
       [](const std::string& f, const std::string& n, const std::string& o) {
         char buffer[4096];
         const std::string to = o + n;
         return fileops::MoveOneFile(enginetest::Ui(), (f + n).c_str(), to.c_str(), buffer,
                                     sizeof(buffer), fileops::MoveRenamesFirst(to.c_str())) >= 0;
       },
       "", "~"},
      {"rename",
       [](const std::string& f, const std::string& n, const std::string&) {
         return os::Fs().MoveFile((f + n).c_str(), (f + "renamed.txt").c_str());
       },
       "renamed.txt", ""},
      {"attributes",
       [](const std::string& f, const std::string& n, const std::string&) {
         const uint32_t a = os::Fs().GetAttributes((f + n).c_str());
         return os::Fs().SetAttributes((f + n).c_str(), os::kAttrReadOnly) &&
                a != os::kInvalidAttributes && !(a & os::kAttrReadOnly) &&
                (os::Fs().GetAttributes((f + n).c_str()) & os::kAttrReadOnly);
       },
       "odd", ""},
      {"date",
       [](const std::string& f, const std::string& n, const std::string&) {
         return enginetest::SetWriteTime(f + n, enginetest::TimeAt(86400 * 30));
       },
       "odd", ""},
  };
  int n = 0;
  for (const NameSet& set : kSets) {
    for (const Op& op : ops) {
      const std::string label = std::string(op.label) + ", " + set.label;
      const std::string tag = std::to_string(n++);
      const std::string folder = MakeFolder("c" + tag, set);
      const std::string out = dir_.Path("o" + tag) + "\\";
      ASSERT_TRUE(os::Fs().CreateDir(dir_.Path("o" + tag).c_str()));
      auto t = Open(folder);
      const table::SM_DAT* odd = OddEntry(*t);
      ASSERT_TRUE(odd && odd->AddressName()) << label;
      const std::string alias = odd->AddressName();
      const uint32_t before[2] = {os::Fs().GetAttributes((folder + kNeighbours[0]).c_str()),
                                  os::Fs().GetAttributes((folder + kNeighbours[1]).c_str())};
      const os::FileTime times[2] = {enginetest::WriteTime(folder + kNeighbours[0]),
                                     enginetest::WriteTime(folder + kNeighbours[1])};

      EXPECT_TRUE(op.run(folder, alias, out)) << label;

      ExpectNeighboursIntact(folder, label);
      for (unsigned i = 0; i < 2; ++i) {
        EXPECT_EQ(os::Fs().GetAttributes((folder + kNeighbours[i]).c_str()), before[i]) << label;
        EXPECT_EQ(enginetest::WriteTime(folder + kNeighbours[i]), times[i]) << label;
      }
      const std::string inFolder = op.inFolder;
      ExpectOdd(folder, set, inFolder == "odd", label);
      if (inFolder == "renamed.txt") {
        EXPECT_EQ(testutil::ReadFileBytes(folder + inFolder), OddBytes());
      }
      if (std::string(op.label) == "date") {
        EXPECT_EQ(enginetest::WriteTime(folder + alias), kWhen);
      }
      // Nothing else arrives in the second folder.
      std::map<std::string, std::string> expectedOut;
      if (std::string(op.inOut) == "~") expectedOut[alias] = OddBytes();
      EXPECT_TREE(enginetest::ReadTree(out), expectedOut) << label;
      os::Fs().SetAttributes((folder + alias).c_str(), 0);
    }
  }
}

TEST_F(UnmappableNameTest, TreeCommandsTakeTheOddEntryByItsAlias) {
  int n = 0;
  for (const NameSet& set : kSets) {
    const std::string tag = std::to_string(n++);
    // A file beside the tree, which the wildcard would have matched too.
    const std::string folder = MakeFolder("t" + tag, set);
    ASSERT_TRUE(os::Fs().CreateDir((folder + "tree").c_str()));
    const std::string tree = folder + "tree\\";
    for (unsigned i = 0; i < 2; ++i)
      ASSERT_TRUE(testutil::WriteFileBytes(tree + kNeighbours[i], Neighbour(i)));
    ASSERT_TRUE(testutil::WriteWideNamedFile(tree, set.odd, OddBytes()));
    os::FindData fd;
    std::string alias;
    auto search = os::Fs().FindFirst((tree + "*.*").c_str(), fd);
    for (bool more = search != nullptr; more; more = search->Next(fd))
      if (fd.unmappable) alias = fd.alternateName;
    ASSERT_FALSE(alias.empty()) << set.label;

    char buffer[4096];
    EXPECT_EQ(fileops::CopyTree(enginetest::Ui(), (folder + "tree").c_str(), (folder + "copy").c_str(), buffer,
                                sizeof(buffer)),
              fileops::kEngineOk)
        << set.label;
    std::map<std::string, std::string> expected = {{kNeighbours[0], Neighbour(0)},
                                                   {kNeighbours[1], Neighbour(1)},
                                                   {alias, OddBytes()}};
    EXPECT_TREE(enginetest::ReadTree(folder + "copy\\"), expected) << set.label;
    EXPECT_TREE(enginetest::ReadTree(tree), expected) << set.label;  // the source as it was
    ExpectOdd(tree, set, true, set.label);

    EXPECT_EQ(fileops::DeleteTree(enginetest::Ui(), (folder + "tree").c_str()), fileops::kEngineOk) << set.label;
    EXPECT_FALSE(testutil::FileExists(folder + "tree")) << set.label;
    ExpectNeighboursIntact(folder, set.label);
    ExpectOdd(folder, set, true, set.label);
  }
}

TEST_F(UnmappableNameTest, AnEntryWithoutAliasIsLeftAlone) {
  testutil::InstalledFaultyFs fs;
  fs.dropAliases = true;
  std::vector<std::string> shellDeletes;
  fs.before = [&shellDeletes](testutil::FsOp op, const std::string& path) {
    if (op == testutil::FsOp::kShellDelete) shellDeletes.push_back(path);
  };
  const std::string folder = MakeFolder("n", kSets[0]);
  ASSERT_TRUE(os::Fs().CreateDir((folder + "tree").c_str()));
  const std::string tree = folder + "tree\\";
  for (unsigned i = 0; i < 2; ++i)
    ASSERT_TRUE(testutil::WriteFileBytes(tree + kNeighbours[i], Neighbour(i)));
  ASSERT_TRUE(testutil::WriteWideNamedFile(tree, kSets[0].odd, OddBytes()));

  auto t = Open(folder);
  const table::SM_DAT* odd = OddEntry(*t);
  ASSERT_NE(odd, nullptr);
  EXPECT_TRUE(odd->alias.empty());
  EXPECT_EQ(odd->AddressName(), nullptr);

  char buffer[4096];
  EXPECT_LT(fileops::CopyTree(enginetest::Ui(), (folder + "tree").c_str(), (folder + "copy").c_str(), buffer,
                              sizeof(buffer)),
            0);
  EXPECT_TRUE(shellDeletes.empty());
  EXPECT_NE(fileops::DeleteTree(enginetest::Ui(), (folder + "tree").c_str()), fileops::kEngineOk);
  // The tree delete took what it could name and left the rest, the odd file and its folder.
  ExpectOdd(tree, kSets[0], true, "tree");
  ExpectNeighboursIntact(folder, "beside the tree");
  ExpectOdd(folder, kSets[0], true, "beside the tree");
  // Only the neighbours went to the shell's delete, never the look-alike.
  std::sort(shellDeletes.begin(), shellDeletes.end());
  EXPECT_EQ(shellDeletes, (std::vector<std::string>{tree + kNeighbours[0], tree + kNeighbours[1]}));
}

TEST_F(UnmappableNameTest, ARescanKeepsALookAlikeApartFromTheFileItResembles) {
  const NameSet& set = kSets[1];
  const std::string folder = MakeFolder("r", set);
  // The twins look the same to a rescan that matches by name, size and time.
  ASSERT_TRUE(testutil::WriteFileBytes(folder + "cafe.txt", std::string(333, 'e')));
  auto t = Open(folder);
  const table::SM_DAT* odd = OddEntry(*t);
  ASSERT_TRUE(odd && odd->AddressName());
  const std::string alias = odd->AddressName();
  const os::FileTime when = enginetest::TimeAt(1000);
  ASSERT_TRUE(enginetest::SetWriteTime(folder + "cafe.txt", when));
  ASSERT_TRUE(enginetest::SetWriteTime(folder + alias, when));
  t->Reload();
  for (int round = 0; round < 2; ++round) {
    if (round == 1) t->Update();
    std::map<std::string, std::string> reached;  // address name -> bytes
    for (table::BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode()) {
      const char* name = e->Data()->AddressName();
      if (name && std::string(name) != "..") reached[name] = testutil::ReadFileBytes(folder + name);
    }
    const std::map<std::string, std::string> expected = {{"cafe.txt", std::string(333, 'e')},
                                                         {"cafx.txt", Neighbour(1)},
                                                         {alias, OddBytes()}};
    EXPECT_TREE(reached, expected) << "round " << round;
  }
}

// A change elsewhere in the folder leaves a look-alike as it was: the update finds it again by
// its alias, keeps its selection, and a folder where nothing changed reports no change.
TEST_F(UnmappableNameTest, AnUpdateFindsALookAlikeAgainByItsAlias) {
  int n = 0;
  for (const NameSet& set : kSets) {
    SCOPED_TRACE(set.label);
    const std::string folder = MakeFolder("u" + std::to_string(n++), set);
    auto t = Open(folder);
    table::BINFO* odd = nullptr;
    for (table::BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode())
      if (e->Data()->unmappable) odd = e;
    ASSERT_NE(odd, nullptr);
    if (odd->Data()->alias.empty()) GTEST_SKIP() << "this file system gives no 8.3 aliases";
    ASSERT_TRUE(table::Select(*t, odd, nullptr));
    EXPECT_EQ(t->Update(), 0) << "nothing changed";
    ASSERT_TRUE(testutil::WriteFileBytes(folder + "zz.txt", "new"));
    EXPECT_EQ(t->Update(), 1);
    int selected = 0;
    for (table::BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode()) {
      if (!e->Data()->IsSelected()) continue;
      ++selected;
      EXPECT_TRUE(e->Data()->unmappable);
      EXPECT_EQ(e, odd) << "the same entry, not a new one";
    }
    EXPECT_EQ(selected, 1);
  }
}

#ifndef _WIN32
// The emulation's listing of UTF-8 host names in CP932, checked against what Wine lists.
TEST(HostNameTest, ListsEachHostNameAsTheAnsiSearchWould) {
  struct Case {
    const char* host;
    const char* listed;
    bool exact;
  };
  const Case cases[] = {
      {"plain.txt", "plain.txt", true},
      {"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB", "\x83\x74\x83\x40\x83\x43\x83\x8B", true},
      {"\xEF\xBD\xB1", "\xB1", true},                 // half-width katakana
      {"\xE2\x80\xBE\xEF\xBD\x9E", "?\x81\x60", false},  // overline: no form; full-width tilde
      {"caf\xC3\xA9.txt", "cafe.txt", false},          // best fit
      {"\xC3\x89t\xC3\xA9", "Ete", false},
      {"caf\xE0\xB8\x81.txt", "caf?.txt", false},     // no form
      {"\xF0\x9F\x98\x80.txt", "??.txt", false},       // two UTF-16 units
      {"bad\xFF.txt", "bad?.txt", false},               // not UTF-8
      {"\xC3\x97", "\x81\x7E", true},                 // multiplication sign has a form
  };
  for (const Case& c : cases) {
    std::string listed;
    EXPECT_EQ(os::posix::WinFromHostName(c.host, listed), c.exact) << c.listed;
    EXPECT_EQ(listed, c.listed);
    // A name that lists exactly is found again under the listed name.
    if (c.exact) {
      EXPECT_EQ(os::posix::HostFromWinName(listed), c.host) << c.listed;
    }
  }
}
#endif

}  // namespace
