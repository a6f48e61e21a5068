// Copying directory trees: contents and attributes, merging into an existing tree, the checks
// before anything is made (same directory, destination inside the source), the path limit met
// in the middle of a tree, and failures part way through.
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using enginetest::Pattern;
using testutil::FsOp;
using Files = std::map<std::string, std::string>;

class EngineTreeTest : public ::testing::Test {
 protected:
  std::string P(const std::string& name) const { return dir_.Path(name); }
  int CopyDir(const std::string& from, const std::string& to) {
    return CopyTree(enginetest::Ui(), P(from).c_str(), P(to).c_str(), buffer_.Data(),
                    buffer_.Size());
  }
  Files Tree(const std::string& name) const { return enginetest::ReadTree(P(name) + "\\"); }

  testutil::TempDir dir_;
  CopyBuffer buffer_;
};

const Files kSample = {
    {"a.txt", "alpha"},
    {"big.bin", Pattern(2 * kCopyBufferSize + 3, 7)},
    {"sub\\b.txt", "beta"},
    {"sub\\deeper\\c.txt", Pattern(10, 8)},
    {"表\\能.txt", "double-byte names with a 0x5C trail byte"},
};

TEST_F(EngineTreeTest, CopiesEveryFileDirectoryAndAttribute) {
  enginetest::MakeFiles(P("src\\"), kSample);
  ASSERT_TRUE(os::Fs().CreateDir(P("src\\empty").c_str()));
  ASSERT_TRUE(os::Fs().SetAttributes(P("src\\sub").c_str(), os::kAttrDirectory | os::kAttrHidden));
  enginetest::RecordingProgress progress;
  EXPECT_EQ(CopyDir("src", "dst"), kEngineOk);
  EXPECT_TREE(Tree("dst"), kSample);
  EXPECT_EQ(os::Fs().GetAttributes(P("dst\\empty").c_str()), os::Fs().GetAttributes(P("src\\empty").c_str()));
  EXPECT_EQ(os::Fs().GetAttributes(P("dst\\sub").c_str()), os::Fs().GetAttributes(P("src\\sub").c_str()));
  EXPECT_TREE(Tree("src"), kSample);
  EXPECT_EQ(progress.TextsOf(kProgressPath).size(), kSample.size());
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineTreeTest, MergesIntoAnExistingTreeAskingAboutEachExistingFile) {
  enginetest::MakeFiles(P("src\\"), kSample);
  enginetest::MakeFiles(P("dst\\"), {{"a.txt", "old a"}, {"sub\\b.txt", "old b"}, {"x.txt", "x"}});
  enginetest::RecordingProgress progress;
  enginetest::ScriptedOverwrite question({kOverwriteNo, kOverwriteYes});
  EXPECT_EQ(CopyDir("src", "dst"), kEngineOk);
  Files expected = kSample;
  expected["x.txt"] = "x";
  Files got = Tree("dst");
  // The search decides which of the two is asked first.
  ASSERT_EQ(question.asked.size(), 2u);
  bool aFirst = question.asked[0] == P("dst\\a.txt");
  expected[aFirst ? "a.txt" : "sub\\b.txt"] = aFirst ? "old a" : "old b";
  EXPECT_TREE(got, expected);
}

TEST_F(EngineTreeTest, DestinationInsideTheSourceIsRefusedBeforeAnythingIsMade) {
  enginetest::MakeFiles(P("src\\"), kSample);
  for (const char* inside : {"src\\new", "src\\sub", "src\\sub\\deeper\\new", "SRC\\SUB\\x",
                             "src\\sub\\..\\new"}) {
    SCOPED_TRACE(inside);
    EXPECT_EQ(CopyDir("src", inside), kEngineInsideSource);
    EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, kEngineInsideSource, 0).text,
                 "サブディレクトリに対して再帰的なコピーはできません");
    EXPECT_TREE(Tree("src"), kSample);
    EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  }
  EXPECT_FALSE(testutil::FileExists(P("src\\new")));
  EXPECT_FALSE(testutil::FileExists(P("src\\sub\\deeper\\new")));
  // A sibling whose name only starts like the source is not inside it.
  EXPECT_EQ(CopyDir("src", "src2"), kEngineOk);
  EXPECT_TREE(Tree("src2"), kSample);
}

TEST_F(EngineTreeTest, SameDirectoryDoesNothing) {
  enginetest::MakeFiles(P("src\\"), kSample);
  for (const char* same : {"src", "SRC", "src\\sub\\.."}) {
    SCOPED_TRACE(same);
    EXPECT_EQ(CopyDir("src", same), kEngineSameFile);
  }
  EXPECT_TREE(Tree("src"), kSample);
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineTreeTest, PathLimitMetInTheMiddleOfATree) {
  // src\m1\m2...\<long> where the destination, 40 characters longer, no longer fits at the
  // deepest directory while the levels above it still copy.
  const std::string base = dir_.Dir();
  const std::string dstRoot = "d" + std::string(40, 'x');
  std::string rel = "src";
  Files files = {{"top.txt", "top"}};
  std::string inner;
  for (int level = 0; base.size() + 40 + rel.size() + inner.size() < 170; ++level) {
    inner += "mid" + std::to_string(level) + "\\";
    files[inner + "f.txt"] = "level " + std::to_string(level);
  }
  // The deepest directory's name makes the destination 261 characters with its backslash.
  const std::size_t deepest = 261 - (base.size() + dstRoot.size() + 1 + inner.size()) - 1;
  ASSERT_LT(deepest, 100u);
  const std::string longName(deepest, 'L');
  enginetest::MakeFiles(P("src\\"), files);
  ASSERT_TRUE(os::Fs().CreateDir(P("src\\" + inner + longName).c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(P("src\\" + inner + longName + "\\g.txt"), "deep"));
  files[inner + longName + "\\g.txt"] = "deep";

  EXPECT_EQ(CopyDir("src", dstRoot), kEnginePathTooLong);
  EXPECT_EQ(LastCopyError(), 0);
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, kEnginePathTooLong, LastCopyError()).text,
               ErrorCodeMessage(0));
  // The walk stops where it meets the limit: files the search gives after a directory that
  // leads there are not copied, the rest are, each complete.
  Files copied = Tree(dstRoot);
  EXPECT_FALSE(copied.empty());
  EXPECT_EQ(copied.count(inner + longName + "\\g.txt"), 0u);
  for (const auto& [rel, content] : copied) EXPECT_EQ(content, files.at(rel)) << rel;
  EXPECT_TREE(Tree("src"), files);
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineTreeTest, ASourceThatCannotBeListedIsAnError) {
  enginetest::MakeFiles(P("src\\"), kSample);
  testutil::InstalledFaultyFs fs;
  fs.Fail(FsOp::kFindFirst, "src\\sub", 0, os::kErrAccessDenied);
  EXPECT_EQ(CopyDir("src", "dst"), kEngineFailed);
  EXPECT_EQ(LastCopyError(), kErrnoAcces);
}

TEST_F(EngineTreeTest, AFailurePartWayStopsTheWalkWithNothingPartial) {
  enginetest::MakeFiles(P("src\\"), kSample);
  enginetest::MakeFiles(P("dst\\"), {{"big.bin", "old big"}});
  struct Case {
    const char* name;
    std::function<void(testutil::FaultyFs&, enginetest::CountingPump&,
                       enginetest::RecordingProgress&)>
        arm;
    int result;
  } cases[] = {
      {"disk full", [](auto& fs, auto&, auto&) { fs.DiskFullAfter(kCopyBufferSize + 1); },
       kEngineDiskFull},
      {"read error", [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kRead, "big.bin", 2, 23); },
       kEngineFailed},
      {"cancel", [](auto&, auto& pump, auto& progress) { pump.CancelAtRun(3, progress); },
       kEngineCancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      enginetest::RecordingProgress progress;
      enginetest::CountingPump pump;
      testutil::InstalledFaultyFs fs;
      c.arm(fs, pump, progress);
      EXPECT_EQ(CopyDir("src", "dst"), c.result);
    }
    for (const auto& [rel, content] : Tree("dst")) {
      if (rel == "big.bin")
        EXPECT_EQ(content, "old big");
      else
        EXPECT_EQ(content, kSample.at(rel)) << rel;
    }
    EXPECT_TREE(Tree("src"), kSample);
    EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  }
}

// A copy or move whose destination directory cannot be made fails before it changes anything:
// with an empty tree nothing else would fail, and the move would then delete its source.
TEST_F(EngineTreeTest, ADestinationDirectoryThatCannotBeMadeStopsCopyAndMove) {
  struct Case {
    const char* name;
    bool fileInTheWay;        // a file named like the destination directory exists
    const char* refusedPart;  // CreateDir on paths containing this fails
    int error;
  } cases[] = {
      {"file of that name", true, nullptr, kErrnoExist},
      {"directory refused", false, "dst", kErrnoAcces},
      {"subdirectory refused", false, "dst\\inner", kErrnoAcces},
  };
  const uint32_t fileAttributes = os::kAttrArchive;
  for (const Case& c : cases) {
    for (bool move : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (move ? " move" : " copy"));
      ASSERT_TRUE(os::Fs().CreateDir(P("src").c_str()));
      ASSERT_TRUE(os::Fs().CreateDir(P("src\\inner").c_str()));
      ASSERT_TRUE(os::Fs().SetAttributes(P("src").c_str(), os::kAttrDirectory | os::kAttrHidden));
      if (c.fileInTheWay) {
        ASSERT_TRUE(testutil::WriteFileBytes(P("dst"), "a file"));
        ASSERT_TRUE(os::Fs().SetAttributes(P("dst").c_str(), fileAttributes));
      }
      int r;
      {
        testutil::InstalledFaultyFs fs;
        fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);  // another drive
        if (c.refusedPart) fs.Fail(FsOp::kCreateDir, c.refusedPart, 0, os::kErrAccessDenied);
        r = move ? MoveTree(enginetest::Ui(), P("src").c_str(), P("dst").c_str(),
                            buffer_.Data(), buffer_.Size())
                 : CopyDir("src", "dst");
      }
      EXPECT_EQ(r, kEngineFailed);
      EXPECT_EQ(LastCopyError(), c.error);
      EXPECT_TRUE(testutil::FileExists(P("src\\inner")));
      EXPECT_TRUE(os::Fs().GetAttributes(P("src").c_str()) & os::kAttrHidden);
      if (c.fileInTheWay) {
        EXPECT_EQ(testutil::ReadFileBytes(P("dst")), "a file");
        EXPECT_EQ(os::Fs().GetAttributes(P("dst").c_str()), fileAttributes);
      }
      os::Fs().SetAttributes(P("src").c_str(), os::kAttrDirectory);
      testutil::RemoveTree(P("src"));
      if (c.fileInTheWay)
        os::Fs().DeleteFile(P("dst").c_str());
      else
        testutil::RemoveTree(P("dst"));
    }
  }
}

}  // namespace
