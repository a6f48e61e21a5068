// A drop's work through the copy and move engine: the three modes, the stop at the first
// engine error and at a file that cannot be examined, a folder dropped into itself refused as
// the copy command refuses it, and a move of a tree onto one with a declined overwrite keeping
// the declined source files.
#include <gtest/gtest.h>

#include "fileops/drop_run.h"
#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using Files = std::map<std::string, std::string>;
using testutil::FsOp;

class DropRunTest : public ::testing::Test {
 protected:
  std::string P(const std::string& name) const { return dir_.Path(name); }
  Files Tree(const std::string& name) const { return enginetest::ReadTree(P(name) + "\\"); }
  int Drop(DropMode mode, const std::string& target, const std::vector<std::string>& names,
           uint32_t major = 4) {
    std::vector<std::string> files;
    for (const std::string& n : names) files.push_back(P(n));
    return RunDrop(enginetest::Ui(), mode, P(target), files, major,
                   [this](const CommandMessage& m) {
                     if (m.text) shown.emplace_back(m.text);
                   });
  }
  std::vector<std::string> shown;
  enginetest::CwdGuard cwd_;
  testutil::TempDir dir_;
};

TEST_F(DropRunTest, CopyAndMoveFilesAndTrees) {
  struct Case {
    const char* what;
    DropMode mode;
    Files sourceAfter;
  };
  const Files source = {{"a.txt", "a"}, {"tree\\b.txt", "b"}, {"tree\\deep\\c.txt", "c"}};
  const Case cases[] = {
      {"copy", DropMode::kCopy, source},
      {"move", DropMode::kMove, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string src = std::string("src-") + c.what, dst = std::string("dst-") + c.what;
    enginetest::MakeFiles(P(src + "\\"), source);
    enginetest::MakeFiles(P(dst + "\\"), {});
    enginetest::RecordingProgress progress;
    EXPECT_EQ(Drop(c.mode, dst, {src + "\\a.txt", src + "\\tree"}), 0);
    EXPECT_TREE(Tree(dst), source);
    EXPECT_TREE(Tree(src), c.sourceAfter);
    EXPECT_TRUE(shown.empty());
  }
}

TEST_F(DropRunTest, AFolderDroppedIntoItselfOrItsSubfolderIsRefused) {
  const Files source = {{"x.txt", "x"}, {"sub\\y.txt", "y"}};
  for (const char* target : {"tree", "tree\\sub"}) {
    SCOPED_TRACE(target);
    shown.clear();
    enginetest::MakeFiles(P("tree\\"), source);
    enginetest::RecordingProgress progress;
    EXPECT_EQ(Drop(DropMode::kCopy, target, {"tree"}), -1);
    EXPECT_EQ(shown, std::vector<std::string>{kMsgRecursiveCopy.text});
    EXPECT_TREE(Tree("tree"), source);
  }
}

TEST_F(DropRunTest, StopsAtAFileThatCannotBeExaminedKeepingWhatWasDone) {
  enginetest::MakeFiles(P("src\\"), {{"a.txt", "a"}, {"c.txt", "c"}});
  enginetest::MakeFiles(P("dst\\"), {});
  enginetest::RecordingProgress progress;
  EXPECT_EQ(Drop(DropMode::kCopy, "dst", {"src\\a.txt", "src\\gone.txt", "src\\c.txt"}), -3);
  EXPECT_EQ(shown, std::vector<std::string>{kMsgDroppedFileInaccessible});
  EXPECT_TREE(Tree("dst"), (Files{{"a.txt", "a"}}));
}

TEST_F(DropRunTest, StopsAtTheFirstEngineError) {
  enginetest::MakeFiles(P("src\\"), {{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
  enginetest::MakeFiles(P("dst\\"), {});
  enginetest::RecordingProgress progress;
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kRead, "b.txt", 0, testutil::kErrCrc);
    EXPECT_EQ(Drop(DropMode::kCopy, "dst", {"src\\a.txt", "src\\b.txt", "src\\c.txt"}), -1);
  }
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_TREE(Tree("dst"), (Files{{"a.txt", "a"}}));
  EXPECT_TREE(Tree("src"), (Files{{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}}));
}

TEST_F(DropRunTest, MoveOfATreeWithADeclinedOverwriteKeepsTheDeclinedSources) {
  enginetest::MakeFiles(P("src\\"), {{"t\\keep.txt", "source keep"}, {"t\\go.txt", "go"}});
  enginetest::MakeFiles(P("dst\\"), {{"t\\keep.txt", "dest keep"}});
  enginetest::RecordingProgress progress;
  enginetest::ScriptedOverwrite question({kOverwriteNo});
  testutil::InstalledFaultyFs fs;
  fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);  // another drive: copy, delete
  EXPECT_EQ(Drop(DropMode::kMove, "dst", {"src\\t"}), 0);
  EXPECT_TREE(Tree("src\\t"), (Files{{"keep.txt", "source keep"}}));
  EXPECT_TREE(Tree("dst\\t"), (Files{{"keep.txt", "dest keep"}, {"go.txt", "go"}}));
  EXPECT_EQ(question.asked.size(), 1u);
}

TEST_F(DropRunTest, LinkModeMakesOneLinkPerFileAndGoesOnAfterAFailure) {
  enginetest::MakeFiles(P("src\\"), {{"a.txt", "a"}, {"b.txt", "b"}});
  enginetest::MakeFiles(P("dst\\"), {});
  EXPECT_EQ(Drop(DropMode::kLink, "dst", {"src\\a.txt", "src\\b.txt"}, 3), 0);
  const Files made = Tree("dst");
  EXPECT_EQ(made.size(), 2u);
  EXPECT_TRUE(made.count("0.LFI") && made.count("1.LFI"));
  EXPECT_TRUE(shown.empty());

  // Into a directory that does not exist: each link fails, each is reported.
  EXPECT_EQ(Drop(DropMode::kLink, "missing", {"src\\a.txt", "src\\b.txt"}, 3), 0);
  EXPECT_EQ(shown, (std::vector<std::string>{kMsgCannotMakeLink.text, kMsgCannotMakeLink.text}));
}

}  // namespace
