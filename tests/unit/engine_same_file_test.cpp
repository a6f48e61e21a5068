// The same-file test behind "copy onto itself" and "destination inside the source".
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"

namespace {

using namespace fileops;

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

}  // namespace
