// FindFirstFileA's wildcard rules, checked through os::Fs() on a real directory, so the same
// cases run against the posix emulation and against the system under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "os/last_error.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

using Names = std::vector<std::string>;

// Every name a search returns, in order; empty with *error set when FindFirst fails.
Names Search(const std::string& pattern, uint32_t* error = nullptr) {
  Names out;
  os::FindData fd;
  os::SetLastError(0);
  auto finder = os::Fs().FindFirst(pattern.c_str(), fd);
  if (!finder) {
    if (error) *error = os::LastError();
    return out;
  }
  do out.push_back(fd.name);
  while (finder->Next(fd));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrNoMoreFiles)) << pattern;
  if (error) *error = 0;
  return out;
}

std::set<std::string> AsSet(const Names& n) { return std::set<std::string>(n.begin(), n.end()); }

void MakeFiles(const testutil::TempDir& dir, const Names& names) {
  for (const auto& n : names) ASSERT_TRUE(testutil::WriteFileBytes(dir.Path(n), "x")) << n;
}

// The directory of the system's own wildcard test.
const Names kDotNames = {"..a", "..a.a", ".a", ".a..a", ".a.a", ".aaa", "a",
                         "a..a", "a.a", "a.a.a", "aa", "aaa", "aaaa", " .a"};

TEST(WildcardTest, DotAndStarRules) {
  testutil::TempDir dir;
  MakeFiles(dir, kDotNames);
  Names all = kDotNames;
  all.push_back(".");
  all.push_back("..");
  Names endingDotA;
  for (const auto& n : kDotNames)
    if (n.size() >= 2 && n.compare(n.size() - 2, 2, ".a") == 0) endingDotA.push_back(n);
  Names startingDot = {".", ".."};
  for (const auto& n : kDotNames)
    if (n[0] == '.') startingDot.push_back(n);

  // Wine 8 predates the DOS_STAR/DOS_DOT/DOS_QM rewriting and alias matching of dotted names
  // that Windows does (Wine 10 has them): where it answers differently its answer is given as
  // well and checked under a Wine that old instead.
  const Names kSame = {"<same>"};
  const int wine = testutil::WineMajorVersion();
  struct Case {
    const char* mask;
    Names expect;  // empty: no match at all
    Names wine8 = {"<same>"};
  } cases[] = {
      {"*", all},
      {"*.*", all},
      {"**", all},
      {"*.*.*", all},
      {"*. ", all},
      // Names without an extension; ".a", "..a" and ".aaa" only through their 8.3 aliases.
      {"*.", {".", "..", "a", "aa", "aaa", "aaaa", ".a", "..a", ".aaa"}, all},
      {".*", startingDot},
      {"*.a", endingDotA},
      {"?", {".", "..", "a"}, {".", "a"}},
      {"?.", {".", "..", "a"}, {".", "a"}},
      {"??.", {".", "..", "a", "aa"}, {"..", ".a", "aa"}},
      {"aa.*", {"aa"}},
      {"*aa*", {".aaa", "aa", "aaa", "aaaa", "a.a.a"},  // a.a.a through "AA~~~xxx.A"
       {".aaa", "aa", "aaa", "aaaa"}},
      {". *", {}},
      {" *..", {}, {" .a"}},
      {"a a*.*", {}},
  };
  for (const Case& c : cases) {
    uint32_t error = 0;
    Names got = Search(dir.Path(c.mask), &error);
    const bool oldWine = wine != 0 && wine <= 8;
    const Names& expect = oldWine && c.wine8 != kSame ? c.wine8 : c.expect;
    EXPECT_EQ(AsSet(got), AsSet(expect)) << "mask \"" << c.mask << "\"";
    if (expect.empty()) {
      EXPECT_EQ(error, static_cast<uint32_t>(os::kErrFileNotFound)) << c.mask;
    }
    // "." and ".." come first, in that order, whenever they match.
    const auto dot = std::find(got.begin(), got.end(), ".");
    const auto dotdot = std::find(got.begin(), got.end(), "..");
    if (dot != got.end()) {
      EXPECT_EQ(dot, got.begin()) << c.mask;
    }
    if (dotdot != got.end()) {
      EXPECT_EQ(dotdot - got.begin(), dot != got.end() ? 1 : 0) << c.mask;
    }
  }
}

#ifndef _WIN32
// Masks that start with "*" followed only by what may match nothing at the end of a name find
// every name; masks that merely look similar do not. (Wine 8 answers "*?" with nothing at all,
// so these run on the emulation only.)
TEST(WildcardTest, MasksThatTakeAnyNameFindEverything) {
  testutil::TempDir dir;
  MakeFiles(dir, kDotNames);
  Names all = kDotNames;
  all.push_back(".");
  all.push_back("..");
  for (const char* mask : {"*?", "*??", "**.", "*.?", "*.*?", "*?.*"})
    EXPECT_EQ(AsSet(Search(dir.Path(mask))), AsSet(all)) << mask;
  // Masks that only look alike: a letter or a leading dot must be there.
  EXPECT_EQ(AsSet(Search(dir.Path("*a"))).count(" .a"), 1u);
  EXPECT_EQ(AsSet(Search(dir.Path("*a"))).count("."), 0u);
  EXPECT_EQ(AsSet(Search(dir.Path(".*"))).count("a"), 0u);
  EXPECT_EQ(AsSet(Search(dir.Path("*?a"))).count("a"), 0u);
}
#endif

TEST(WildcardTest, MatchingIgnoresCase) {
  testutil::TempDir dir;
  MakeFiles(dir, {"Readme.TXT", "other.doc"});
  EXPECT_EQ(Search(dir.Path("*.txt")), Names{"Readme.TXT"});
  EXPECT_EQ(Search(dir.Path("README.*")), Names{"Readme.TXT"});
  // Without wildcards a search names one entry; it comes back with its case on disk.
  EXPECT_EQ(Search(dir.Path("readme.txt")), Names{"Readme.TXT"});
}

TEST(WildcardTest, LongNamesAlsoMatchThroughTheirShortAlias) {
  testutil::TempDir dir;
  MakeFiles(dir, {"foo.html", "bar.htm", "report.text"});
  EXPECT_EQ(AsSet(Search(dir.Path("*.htm"))), (std::set<std::string>{"foo.html", "bar.htm"}));
  EXPECT_EQ(Search(dir.Path("*.tex")), Names{"report.text"});

  os::FindData fd;
  auto f = os::Fs().FindFirst(dir.Path("foo.html").c_str(), fd);
  ASSERT_TRUE(f);
  EXPECT_STREQ(fd.alternateName, "FOO~~VKR.HTM");
  // A legal 8.3 name has no alias.
  f = os::Fs().FindFirst(dir.Path("bar.htm").c_str(), fd);
  ASSERT_TRUE(f);
  EXPECT_STREQ(fd.alternateName, "");
  // The alias itself finds the file.
  EXPECT_EQ(Search(dir.Path("FOO~~VKR.HTM")), Names{"foo.html"});
}

// A listing gives every entry the alias an exact search for it gives: none for legal 8.3 names
// next to entries that have one, and the alias of a name found only through it.
TEST(WildcardTest, EachListedEntryCarriesItsOwnAlias) {
  testutil::TempDir dir;
  const Names names = {"foo.html", "bar.htm", "a long name.text", "ab", ".aaa", "x.y.z"};
  MakeFiles(dir, names);
  std::set<std::string> seen;
  for (const char* mask : {"*", "*.*", "*.htm", "*.tex", "*."}) {
    os::FindData fd;
    auto f = os::Fs().FindFirst(dir.Path(mask).c_str(), fd);
    ASSERT_TRUE(f) << mask;
    do {
      const std::string name = fd.name, alias = fd.alternateName;
      if (name == "." || name == "..") {
        EXPECT_EQ(alias, "") << mask;
        continue;
      }
      seen.insert(name);
      os::FindData exact;
      ASSERT_TRUE(os::Fs().FindFirst(dir.Path(name).c_str(), exact)) << name;
      EXPECT_EQ(alias, exact.alternateName) << mask << " " << name;
    } while (f->Next(fd));
  }
  EXPECT_EQ(seen, AsSet(names));
}

TEST(WildcardTest, DoubleByteNamesMatchCharacterByCharacter) {
  testutil::TempDir dir;
  // 表 and ソ/能 end in the byte "\", 倒 = 93 7C ends in "|".
  MakeFiles(dir, {"表.txt", "ソ能.dat", "倒.txt", "ab.txt", "x.txt"});
  struct Case {
    const char* mask;
    std::set<std::string> expect;
  } cases[] = {
      {"表*", {"表.txt"}},
      {"*能*", {"ソ能.dat"}},
      {"?.txt", {"表.txt", "倒.txt", "x.txt"}},  // one character, two bytes or one
      // DOS_QM matches nothing at a dot, so short names match "??.*" too.
      {"??.*", {".", "..", "ソ能.dat", "ab.txt", "表.txt", "倒.txt", "x.txt"}},
      {"*.txt", {"表.txt", "倒.txt", "ab.txt", "x.txt"}},
      {"ソ?.dat", {"ソ能.dat"}},
  };
  for (const Case& c : cases) {
#ifdef _WIN32
    // Wine 8's "?" is exactly one character even at a dot (Windows: DOS_QM).
    if (std::string(c.mask) == "??.*") continue;
#endif
    EXPECT_EQ(AsSet(Search(dir.Path(c.mask))), c.expect) << c.mask;
  }
}

TEST(WildcardTest, NoDotEntriesAtADriveRoot) {
  testutil::TempDir dir;
  const std::string root = dir.Dir().substr(0, 3);  // "Z:\" or "C:\"
  ASSERT_EQ(root[1], ':');
  Names got = Search(root + "*");
  EXPECT_FALSE(got.empty());
  EXPECT_EQ(std::count(got.begin(), got.end(), "."), 0);
  EXPECT_EQ(std::count(got.begin(), got.end(), ".."), 0);
}

TEST(WildcardTest, SearchErrors) {
  testutil::TempDir dir;
  MakeFiles(dir, {"file.txt"});
  struct Case {
    std::string pattern;
    uint32_t error;
    uint32_t alsoAccepted;  // a second answer some systems give, or 0
  } cases[] = {
      {dir.Path("nomatch*"), os::kErrFileNotFound, 0},
      {dir.Path("nomatch"), os::kErrFileNotFound, 0},
      {dir.Path("missing\\*.*"), os::kErrPathNotFound, 0},
      {dir.Path("missing\\bar.txt"), os::kErrPathNotFound, 0},
      // An existing directory with a trailing backslash names no file.
      {dir.Dir(), os::kErrFileNotFound, 0},
      // Windows says PATH_NOT_FOUND for a missing "X\"; Wine says FILE_NOT_FOUND.
      {dir.Path("missing\\"), os::kErrPathNotFound, os::kErrFileNotFound},
      // Windows says ERROR_DIRECTORY for "file\*"; Wine 8 says ERROR_INVALID_NAME.
      {dir.Path("file.txt\\*"), os::kErrDirectory, os::kErrInvalidName},
  };
  for (const Case& c : cases) {
    uint32_t error = 0;
    EXPECT_TRUE(Search(c.pattern, &error).empty()) << c.pattern;
    EXPECT_TRUE(error == c.error || (c.alsoAccepted && error == c.alsoAccepted))
        << c.pattern << " gave " << error;
  }
}

TEST(WildcardTest, FindDataDescribesTheEntry) {
  testutil::TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("data.bin"), std::string(1234, 'z')));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("sub").c_str()));
  os::FindData fd;
  auto f = os::Fs().FindFirst(dir.Path("data.bin").c_str(), fd);
  ASSERT_TRUE(f);
  EXPECT_EQ(fd.size, 1234u);
  EXPECT_EQ(fd.attributes, static_cast<uint32_t>(os::kAttrArchive));
  // Written within the last day, in FILETIME units (100 ns since 1601).
  const os::FileTime year2020 = 132223104000000000ULL;
  EXPECT_GT(fd.lastWriteTime, year2020);
  EXPECT_FALSE(f->Next(fd));
  EXPECT_EQ(os::LastError(), static_cast<uint32_t>(os::kErrNoMoreFiles));

  f = os::Fs().FindFirst(dir.Path("sub").c_str(), fd);
  ASSERT_TRUE(f);
  EXPECT_EQ(fd.attributes & ~os::kAttrArchive, static_cast<uint32_t>(os::kAttrDirectory));
  EXPECT_EQ(fd.size, 0u);
}

}  // namespace
