// Moving files and trees: rename or copy-and-delete, the questions on the way, and that a
// tree move that has to copy deletes only what it really copied.
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using enginetest::Pattern;
using testutil::FsOp;
using Files = std::map<std::string, std::string>;

using enginetest::CwdGuard;

class EngineMoveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(os::Fs().SetCurrentDir(dir_.Dir().c_str())); }
  std::string P(const std::string& name) const { return dir_.Path(name); }
  // A relative destination is renamed; a full one (with a drive) is copied and deleted.
  int MoveFile(const std::string& from, const std::string& to) {
    return MoveOneFile(enginetest::Ui(), P(from).c_str(), to.c_str(), buffer_.Data(),
                       buffer_.Size(), MoveRenamesFirst(to.c_str()));
  }
  int MoveDir(const std::string& from, const std::string& to) {
    return MoveTree(enginetest::Ui(), P(from).c_str(), P(to).c_str(), buffer_.Data(),
                    buffer_.Size());
  }
  void Make(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(testutil::WriteFileBytes(P(name), bytes)) << name;
  }
  std::string Read(const std::string& name) const { return testutil::ReadFileBytes(P(name)); }
  bool Exists(const std::string& name) const { return testutil::FileExists(P(name)); }
  Files Tree(const std::string& name) const { return enginetest::ReadTree(P(name) + "\\"); }

  CwdGuard cwd_;
  testutil::TempDir dir_;
  CopyBuffer buffer_;
};

TEST_F(EngineMoveTest, RelativeDestinationIsRenamed) {
  Make("a.txt", "data");
  enginetest::RecordingProgress progress;
  testutil::InstalledFaultyFs fs;
  EXPECT_EQ(MoveFile("a.txt", "b.txt"), kEngineOk);
  EXPECT_EQ(fs.Calls(FsOp::kWrite), 0);
  EXPECT_EQ(Read("b.txt"), "data");
  EXPECT_FALSE(Exists("a.txt"));
  EXPECT_EQ(progress.TextsOf(kProgressPath), std::vector<std::string>{P("a.txt")});
  EXPECT_EQ(progress.gauges, (std::vector<int>{0, kGaugeMax}));
}

TEST_F(EngineMoveTest, DestinationWithADriveIsCopiedAndDeleted) {
  Make("a.txt", "data");
  testutil::InstalledFaultyFs fs;
  EXPECT_EQ(MoveFile("a.txt", P("b.txt")), kEngineOk);
  EXPECT_EQ(fs.Calls(FsOp::kMove), 1);  // only the finished copy's rename to its name
  EXPECT_GT(fs.Calls(FsOp::kWrite), 0);
  EXPECT_EQ(Read("b.txt"), "data");
  EXPECT_FALSE(Exists("a.txt"));
}

TEST_F(EngineMoveTest, FailedRenameFallsBackToCopyAndDelete) {
  Make("a.txt", "data");
  testutil::InstalledFaultyFs fs;
  fs.Fail(FsOp::kMove, "a.txt", 0, testutil::kErrNotSameDevice);
  EXPECT_EQ(MoveFile("a.txt", "b.txt"), kEngineOk);
  EXPECT_EQ(Read("b.txt"), "data");
  EXPECT_FALSE(Exists("a.txt"));
}

TEST_F(EngineMoveTest, ExistingDestinationIsAskedAboutOnce) {
  struct Case {
    int answer;
    int result;
    bool moved;
  } cases[] = {
      {kOverwriteYes, kEngineOk, true},
      {kOverwriteNo, kEngineOk, false},
      {kOverwriteCancel, kEngineQuestionCancelled, false},
  };
  for (const Case& c : cases) {
    for (bool relative : {true, false}) {
      SCOPED_TRACE(std::to_string(c.answer) + (relative ? " relative" : " full"));
      Make("a.txt", "new");
      Make("b.txt", "old");
      enginetest::RecordingProgress progress;
      enginetest::ScriptedOverwrite question({c.answer});
      EXPECT_EQ(MoveFile("a.txt", relative ? "b.txt" : P("b.txt")), c.result);
      EXPECT_EQ(question.asked.size(), 1u);
      EXPECT_EQ(Read("b.txt"), c.moved ? "new" : "old");
      EXPECT_EQ(Exists("a.txt"), !c.moved);
      EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
    }
  }
}

TEST_F(EngineMoveTest, SourceThatCannotBeDeletedStaysBesideItsCopy) {
  Make("a.txt", "data");
  ASSERT_TRUE(os::Fs().SetAttributes(P("a.txt").c_str(), os::kAttrReadOnly));
  EXPECT_EQ(MoveFile("a.txt", P("b.txt")), kEngineOk);
  EXPECT_EQ(Read("a.txt"), "data");
  EXPECT_EQ(Read("b.txt"), "data");
  os::Fs().SetAttributes(P("a.txt").c_str(), os::kAttrArchive);
  os::Fs().SetAttributes(P("b.txt").c_str(), os::kAttrArchive);
}

TEST_F(EngineMoveTest, FailedCopyKeepsTheSource) {
  const std::string data = Pattern(3 * kCopyBufferSize, 9);
  Make("a.bin", data);
  {
    testutil::InstalledFaultyFs fs;
    fs.DiskFullAfter(kCopyBufferSize);
    EXPECT_EQ(MoveFile("a.bin", P("b.bin")), kEngineDiskFull);
  }
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kMove, kEngineDiskFull, LastCopyError()).text,
               "移動先ディスクの空き容量が足りません");
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kMoveDrop, kEngineDiskFull, LastCopyError()).text,
               "コピー先ディスクの空き容量が足りません");
  EXPECT_EQ(Read("a.bin"), data);
  EXPECT_FALSE(Exists("b.bin"));
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineMoveTest, MoveOntoItselfLosesNothing) {
  Make("a.txt", "data");
  EXPECT_EQ(MoveFile("a.txt", P("A.TXT")), kEngineSameFile);
  EXPECT_EQ(Read("a.txt"), "data");
  EXPECT_EQ(MoveFile("a.txt", "A.TXT"), kEngineOk);  // a rename that changes the case
  EXPECT_EQ(Read("a.txt"), "data");
}

TEST_F(EngineMoveTest, CancelledCommandMovesNothing) {
  Make("a.txt", "data");
  ASSERT_TRUE(os::Fs().CreateDir(P("d").c_str()));
  enginetest::RecordingProgress progress;
  progress.DisableCancel();
  EXPECT_EQ(MoveFile("a.txt", "b.txt"), kEngineCancelled);
  EXPECT_EQ(MoveDir("d", "e"), kEngineCancelled);
  EXPECT_TRUE(Exists("a.txt"));
  EXPECT_TRUE(Exists("d"));
}

TEST_F(EngineMoveTest, TreeIsRenamedWhenItCanBe) {
  enginetest::MakeFiles(P("src\\"), {{"a.txt", "a"}, {"sub\\b.txt", "b"}});
  testutil::InstalledFaultyFs fs;
  EXPECT_EQ(MoveDir("src", "dst"), kEngineOk);
  EXPECT_EQ(fs.Calls(FsOp::kWrite), 0);
  EXPECT_TREE(Tree("dst"), (Files{{"a.txt", "a"}, {"sub\\b.txt", "b"}}));
  EXPECT_FALSE(Exists("src"));
}

// The case the user must never lose data in: a tree moved onto a tree with files of the same
// names, answering No for one and NewerOnly for the rest. What was not copied stays.
TEST_F(EngineMoveTest, TreeCopiedThenDeletedKeepsDeclinedFilesInTheSource) {
  const Files source = {
      {"keep.txt", "source keep"},      // answered No
      {"new.txt", "source new"},        // not in the destination: moved
      {"sub\\newer.txt", "newer"},      // NewerOnly, source newer: moved
      {"sub\\older.txt", "older"},      // NewerOnly, source older: stays
      {"sub\\same.txt", "same time"},   // NewerOnly, same time: stays
      {"other\\x.txt", "x"},            // a directory that moves completely
  };
  enginetest::MakeFiles(P("src\\"), source);
  enginetest::MakeFiles(P("dst\\"), {{"keep.txt", "dest keep"},
                                     {"sub\\newer.txt", "dest newer"},
                                     {"sub\\older.txt", "dest older"},
                                     {"sub\\same.txt", "dest same"}});
  const auto setTime = [&](const std::string& f, int64_t s) {
    ASSERT_TRUE(enginetest::SetWriteTime(P(f), enginetest::TimeAt(s)));
  };
  setTime("src\\sub\\newer.txt", 200);
  setTime("dst\\sub\\newer.txt", 100);
  setTime("src\\sub\\older.txt", 100);
  setTime("dst\\sub\\older.txt", 200);
  setTime("src\\sub\\same.txt", 150);
  setTime("dst\\sub\\same.txt", 150);

  enginetest::RecordingProgress progress;
  // keep.txt is asked first only if the search lists it before sub; answer per name.
  struct ByName : enginetest::ScriptedOverwrite {
    int Show(const char* name) override {
      asked.push_back(name);
      return std::string(name).find("keep.txt") != std::string::npos ? kOverwriteNo
                                                                     : kOverwriteNewerOnly;
    }
  } question;
  testutil::InstalledFaultyFs fs;
  fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);  // another drive
  EXPECT_EQ(MoveDir("src", "dst"), kEngineOk);

  EXPECT_TREE(Tree("src"), (Files{{"keep.txt", "source keep"},
                                {"sub\\older.txt", "older"},
                                {"sub\\same.txt", "same time"}}));
  EXPECT_FALSE(Exists("src\\other"));
  EXPECT_TREE(Tree("dst"), (Files{{"keep.txt", "dest keep"},
                                {"new.txt", "source new"},
                                {"sub\\newer.txt", "newer"},
                                {"sub\\older.txt", "dest older"},
                                {"sub\\same.txt", "dest same"},
                                {"other\\x.txt", "x"}}));
}

TEST_F(EngineMoveTest, TreeMoveThatFailsDeletesNothing) {
  const Files source = {{"a.txt", "a"}, {"b.bin", Pattern(2 * kCopyBufferSize, 10)}};
  enginetest::MakeFiles(P("src\\"), source);
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
    fs.Fail(FsOp::kRead, "b.bin", 2, testutil::kErrCrc);
    EXPECT_EQ(MoveDir("src", "dst"), kEngineFailed);
  }
  EXPECT_TREE(Tree("src"), source);
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineMoveTest, TreeMoveDeletesReadOnlyFilesItCopied) {
  enginetest::MakeFiles(P("src\\"), {{"ro.txt", "r"}});
  ASSERT_TRUE(os::Fs().SetAttributes(P("src\\ro.txt").c_str(), os::kAttrReadOnly));
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
    EXPECT_EQ(MoveDir("src", "dst"), kEngineOk);
  }
  EXPECT_FALSE(Exists("src"));
  EXPECT_EQ(Read("dst\\ro.txt"), "r");
  EXPECT_TRUE(os::Fs().GetAttributes(P("dst\\ro.txt").c_str()) & os::kAttrReadOnly);
}

// The recycle-bin switch belongs to the delete command: a moved tree's copied sources are
// deleted for good, never put in the bin beside their copies.
// Cancel while the copied sources are deleted: every file still exists once (in the source or
// in the destination), and the move reports the cancel instead of success.
TEST_F(EngineMoveTest, CancelWhileTheSourcesAreDeletedIsReported) {
  const Files source = {{"a.txt", "a"}, {"b.txt", "b"}, {"sub\\c.txt", "c"}};
  for (int cancelAt : {1, 2}) {
    SCOPED_TRACE(cancelAt);
    enginetest::MakeFiles(P("src\\"), source);
    enginetest::RecordingProgress progress;
    int r;
    {
      testutil::InstalledFaultyFs fs;
      fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
      int deletes = 0;
      // Cancel is pressed as the cancelAt-th copied source file is deleted (the same-file
      // test's markers are deleted too, earlier).
      const std::string from = P("src\\");
      fs.before = [&](FsOp op, const std::string& path) {
        if (op == FsOp::kDelete && path.rfind(from, 0) == 0 &&
            path.find('~') == std::string::npos && ++deletes == cancelAt)
          progress.DisableCancel();
      };
      r = MoveDir("src", "dst");
    }
    EXPECT_EQ(r, kEngineCancelled);
    EXPECT_STREQ(EngineResultMessage(EngineCommand::kMove, r, LastCopyError()).text,
                 kMsgCancelled.text);
    EXPECT_TREE(Tree("dst"), source);
    Files left = Tree("src");
    EXPECT_EQ(left.size(), source.size() - cancelAt);
    for (const auto& [rel, content] : left) EXPECT_EQ(content, source.at(rel)) << rel;
    testutil::RemoveTree(P("src"));
    testutil::RemoveTree(P("dst"));
  }
}

TEST_F(EngineMoveTest, TreeMoveNeverRecyclesItsSource) {
  enginetest::MakeFiles(P("src\\"), {{"a.txt", "a"}, {"sub\\b.txt", "b"}});
  SetRecycleDeletes(true);
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
    EXPECT_EQ(MoveDir("src", "dst"), kEngineOk);
    EXPECT_EQ(fs.Calls(FsOp::kShellDelete), 0);
  }
  SetRecycleDeletes(false);
  EXPECT_FALSE(Exists("src"));
  EXPECT_TREE(Tree("dst"), (Files{{"a.txt", "a"}, {"sub\\b.txt", "b"}}));
}

TEST_F(EngineMoveTest, TreeIntoItselfIsRefused) {
  enginetest::MakeFiles(P("src\\"), {{"a.txt", "a"}, {"sub\\b.txt", "b"}});
  EXPECT_EQ(MoveDir("src", "src\\sub\\inner"), kEngineInsideSource);
  EXPECT_TREE(Tree("src"), (Files{{"a.txt", "a"}, {"sub\\b.txt", "b"}}));
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kMove, kEngineInsideSource, 0).text,
               "サブディレクトリに対して再帰的なコピーはできません");
}

}  // namespace
