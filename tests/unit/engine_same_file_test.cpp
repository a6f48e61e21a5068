// The same-file test behind "copy onto itself" and "destination inside the source".
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using testutil::FsOp;

class EngineSameFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    enginetest::MakeFiles(dir_.Dir(), {{"a\\f.txt", "f"}, {"a\\b\\g.txt", "g"}, {"c\\h.txt", "h"}});
  }
  std::string P(const std::string& name) const { return dir_.Path(name); }
  int Same(const std::string& x, const std::string& y, bool dirs) {
    return SameFileCheck(P(x).c_str(), P(y).c_str(), dirs);
  }
  testutil::TempDir dir_;
};

TEST_F(EngineSameFileTest, FilesAndDirectories) {
  struct Case {
    const char* first;
    const char* second;
    bool dirs;
    int result;
  } cases[] = {
      {"a\\f.txt", "a\\f.txt", false, 1},
      {"a\\f.txt", "A\\F.TXT", false, 1},
      {"a\\f.txt", "a\\b\\..\\f.txt", false, 1},
      {"a\\f.txt", "c\\h.txt", false, 0},
      {"a\\f.txt", "c\\missing.txt", false, 0},
      {"missing.txt", "c\\h.txt", false, 0},
      {"a", "a", true, 1},
      {"a", "A\\B\\..", true, 1},
      {"a", "c", true, 0},
      {"a", "a\\b", true, 0},
      {"a", "missing", true, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Same(c.first, c.second, c.dirs), c.result) << c.first << " / " << c.second;
  }
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());  // markers are removed
}

TEST_F(EngineSameFileTest, ShortNamesAreFoundByTheFileSystem) {
  ASSERT_TRUE(testutil::WriteFileBytes(P("a long file name.text"), "x"));
  ASSERT_TRUE(os::Fs().CreateDir(P("a long directory name").c_str()));
  os::FindData fd;
  ASSERT_TRUE(os::Fs().FindFirst(P("a long file name.text").c_str(), fd));
  if (!fd.alternateName[0]) GTEST_SKIP() << "no 8.3 names here";
  EXPECT_EQ(Same("a long file name.text", fd.alternateName, false), 1);
  ASSERT_TRUE(os::Fs().FindFirst(P("a long directory name").c_str(), fd));
  ASSERT_TRUE(fd.alternateName[0]);
  EXPECT_EQ(Same("a long directory name", fd.alternateName, true), 1);
  EXPECT_EQ(IsInsideSource(P("a long directory name").c_str(),
                           P(std::string(fd.alternateName) + "\\new").c_str()),
            1);
}

TEST_F(EngineSameFileTest, FilesThatCannotBeOpened) {
  auto held = os::Fs().Open(P("a\\f.txt").c_str(), os::kGenericRead | os::kGenericWrite,
                            os::kShareNone, os::kOpenExisting);
  ASSERT_TRUE(held);
  EXPECT_EQ(Same("a\\f.txt", "c\\h.txt", false), -1);
  EXPECT_EQ(Same("c\\h.txt", "a\\f.txt", false), -2);
  EXPECT_EQ(Same("missing.txt", "a\\f.txt", false), -2);
}

TEST_F(EngineSameFileTest, InsideSource) {
  struct Case {
    const char* destination;
    int result;
  } cases[] = {
      {"a", 1},           {"a\\b", 1},   {"a\\b\\new\\deeper", 1},
      {"A\\B\\NEW", 1},   {"c", 0},      {"c\\new", 0},
      {"ab", 0},          {"new", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsInsideSource(P("a").c_str(), P(c.destination).c_str()), c.result) << c.destination;
  // A relative destination is walked up to its first name only.
  EXPECT_EQ(IsInsideSource(P("a").c_str(), "relative\\name"), 0);
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

// Every entry name of a directory.
std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  os::FindData fd;
  auto search = os::Fs().FindFirst((directory + "*").c_str(), fd);
  for (bool more = search != nullptr; more; more = search->Next(fd)) names.push_back(fd.name);
  return names;
}

// A link to a directory is another route to it: the file system's identity of the directory
// finds that, and finding it writes nothing into the directories compared or above them.
// Where no identity can be had, the full paths decide.
TEST_F(EngineSameFileTest, DirectoriesAreComparedByIdentityWritingNothing) {
  if (!enginetest::MakeDirectoryLink(P("lnk"), P("a")))
    GTEST_SKIP() << "no symbolic links on this system";
  ASSERT_TRUE(os::Fs().CreateDir(P("c\\deep").c_str()));
  const struct Case {
    const char* first;
    const char* second;
    int withIdentity;
    int pathsOnly;
  } cases[] = {
      {"a", "lnk", 1, 0},          {"lnk", "A", 1, 0},         {"a\\b", "lnk\\b", 1, 0},
      {"a", "lnk\\b\\..", 1, 0},   {"a", "a\\b\\..", 1, 1},    {"a", "c", 0, 0},
      {"lnk", "c", 0, 0},          {"a\\b", "lnk", 0, 0},      {"lnk", "missing", 0, 0},
  };
  const struct Inside {
    const char* source;
    const char* destination;
    int withIdentity;
    int pathsOnly;
  } inside[] = {
      {"a", "lnk\\new", 1, 0},        {"lnk", "a\\b\\new\\deeper", 1, 0},
      {"a\\b", "lnk\\b\\x", 1, 0},    {"a", "a\\b\\new", 1, 1},
      {"a", "c\\deep\\new", 0, 0},    {"lnk", "c\\deep", 0, 0},
  };
  const std::vector<std::string> topBefore = Names(dir_.Dir()), cBefore = Names(P("c\\"));
  for (bool identity : {true, false}) {
    SCOPED_TRACE(identity ? "with identities" : "paths only");
    testutil::InstalledFaultyFs fs;
    if (!identity) fs.Fail(FsOp::kGetIdentity, "", 0, 50);  // ERROR_NOT_SUPPORTED
    for (const Case& c : cases) {
      EXPECT_EQ(Same(c.first, c.second, true), identity ? c.withIdentity : c.pathsOnly)
          << c.first << " / " << c.second;
    }
    for (const Inside& c : inside) {
      EXPECT_EQ(IsInsideSource(P(c.source).c_str(), P(c.destination).c_str()),
                identity ? c.withIdentity : c.pathsOnly)
          << c.source << " / " << c.destination;
    }
    // Nothing was made anywhere, not even for a moment, in the tree or above it.
    EXPECT_EQ(fs.Calls(FsOp::kCreate), 0);
    EXPECT_EQ(fs.Calls(FsOp::kCreateDir), 0);
    EXPECT_EQ(fs.Calls(FsOp::kDelete), 0);
    EXPECT_GT(fs.Calls(FsOp::kGetIdentity), 0);
  }
  EXPECT_EQ(Names(dir_.Dir()), topBefore);
  EXPECT_EQ(Names(P("c\\")), cBefore);
  EXPECT_TREE(enginetest::ReadTree(P("a\\")), (std::map<std::string, std::string>{
                                                  {"f.txt", "f"}, {"b\\g.txt", "g"}}));
  enginetest::RemoveDirectoryLink(P("lnk"));
}

}  // namespace
