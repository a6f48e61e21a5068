// Deleting files and trees: the recycle bin switch, files already gone, files in use, and the
// read-only question with its remembered answers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>

#include "config/program_context.h"
#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

#ifndef _WIN32
#include "os/posix/path_map.h"
#endif

namespace {

using namespace fileops;
using testutil::FsOp;
using Files = std::map<std::string, std::string>;

class EngineDeleteTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRecycleDeletes(false); }
  void TearDown() override { SetRecycleDeletes(false); }
  // Runs the following deletes as on a system of this major version.
  void SetVersion(uint32_t version) {
    context_.reset();
    config::ProgramContext c = config::Context();
    c.windowsMajorVersion = version;
    context_.emplace(c);
  }
  std::string P(const std::string& name) const { return dir_.Path(name); }
  void Make(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(testutil::WriteFileBytes(P(name), bytes)) << name;
  }
  void ReadOnly(const std::string& name) {
    ASSERT_TRUE(os::Fs().SetAttributes(P(name).c_str(), os::kAttrReadOnly)) << name;
  }
  bool Exists(const std::string& name) const { return testutil::FileExists(P(name)); }
  Files Tree(const std::string& name) const { return enginetest::ReadTree(P(name) + "\\"); }

  testutil::TempDir dir_;
  std::optional<config::ScopedContext> context_;
};

TEST_F(EngineDeleteTest, DeletesAFileAndShowsIt) {
  Make("a.txt", "a");
  enginetest::RecordingProgress progress;
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineOk);
  EXPECT_FALSE(Exists("a.txt"));
  EXPECT_EQ(progress.TextsOf(kProgressPath), std::vector<std::string>{P("a.txt")});
  EXPECT_EQ(progress.gauges, (std::vector<int>{0, kGaugeMax}));
}

TEST_F(EngineDeleteTest, AFileAlreadyGoneCountsAsDeleted) {
  for (uint32_t version : {3u, 4u}) {
    SetVersion(version);
    EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("none.txt").c_str()), kEngineOk) << version;
  }
}

TEST_F(EngineDeleteTest, AFailureIsNotTakenForAFileAlreadyGone) {
  Make("a.txt", "a");
  testutil::InstalledFaultyFs fs;
  fs.Fail(FsOp::kShellDelete, "a.txt", 0, os::kErrFileNotFound);  // a misleading code
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineFailed);
  EXPECT_TRUE(Exists("a.txt"));
}

TEST_F(EngineDeleteTest, AFileInUseIsNotDeleted) {
  Make("a.txt", "a");
  auto held = os::Fs().Open(P("a.txt").c_str(), os::kGenericRead, os::kShareRead,
                            os::kOpenExisting);
  ASSERT_TRUE(held);
  for (uint32_t version : {3u, 4u}) {
    SetVersion(version);
    EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineFailed) << version;
  }
  held.reset();
  EXPECT_TRUE(Exists("a.txt"));
}

TEST_F(EngineDeleteTest, TheShellDeletesReadOnlyFilesTheOldWayDoesNot) {
  Make("a.txt", "a");
  ReadOnly("a.txt");
  SetVersion(3);
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineFailed);
  EXPECT_TRUE(Exists("a.txt"));
  SetVersion(4);
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineOk);
  EXPECT_FALSE(Exists("a.txt"));
}

TEST_F(EngineDeleteTest, RecycleDeletesGoesThroughTheShellWithUndo) {
  Make("a.txt", "a");
  Make("b.txt", "b");
  struct Recorder : testutil::InstalledFaultyFs {
    bool ShellDelete(const char* path, bool toRecycleBin) override {
      calls.emplace_back(path, toRecycleBin);
      return os::BackendServices().fs->ShellDelete(path, false);  // keep the bin clean
    }
    std::vector<std::pair<std::string, bool>> calls;
  } fs;
  SetRecycleDeletes(true);
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineOk);
  SetRecycleDeletes(false);
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("b.txt").c_str()), kEngineOk);
  EXPECT_EQ(fs.calls, (std::vector<std::pair<std::string, bool>>{{P("a.txt"), true},
                                                                 {P("b.txt"), false}}));
}

// The OS layer's shell delete as both backends do it: a directory goes with its contents, a
// missing path fails with "not found".
TEST_F(EngineDeleteTest, ShellDeleteOfADirectoryTakesItsContents) {
  enginetest::MakeFiles(P("d\\"), {{"a.txt", "a"}, {"sub\\b.txt", "b"}});
  ReadOnly("d\\sub\\b.txt");
  EXPECT_TRUE(os::Fs().ShellDelete(P("d").c_str(), false));
  EXPECT_FALSE(Exists("d"));
  EXPECT_FALSE(os::Fs().ShellDelete(P("d").c_str(), false));
  EXPECT_FALSE(Exists("d"));
}

#ifndef _WIN32
// The emulation's recycle bin is a trash folder; under Wine the real one is the user's.
TEST_F(EngineDeleteTest, RecycledFileCanBeFoundInTheTrash) {
  Make("a.txt", "recycled");
  ASSERT_TRUE(os::Fs().CreateDir(P("trash").c_str()));
  const std::string trash = os::posix::ToHostPath(P("trash").c_str());
  ASSERT_EQ(setenv("SORM_TRASH", trash.c_str(), 1), 0);
  SetRecycleDeletes(true);
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("a.txt").c_str()), kEngineOk);
  unsetenv("SORM_TRASH");
  EXPECT_FALSE(Exists("a.txt"));
  EXPECT_EQ(testutil::ReadFileBytes(P("trash\\files\\a.txt")), "recycled");
  EXPECT_NE(testutil::ReadFileBytes(P("trash\\info\\a.txt.trashinfo")).find("Path="),
            std::string::npos);
}
#endif

// The listing is read before the questions are answered; while one is open the listed file
// can be replaced. What the path names when the delete runs decides how it goes: a directory
// by the tree rules (its read-only files asked about), a link alone, never the file delete
// that through the shell would take a directory whole.
TEST_F(EngineDeleteTest, AFileReplacedWhileAskedIsDeletedAsWhatItIsNow) {
  enum class Swap { kDirectory, kDirectoryWithReadOnly, kLink };
  const struct Case {
    const char* name;
    Swap swap;
    uint32_t version;
    int result;
    Files left;        // what is left below x afterwards (empty: x is gone)
    int questions;     // read-only questions asked in all
  } cases[] = {
      {"directory, shell", Swap::kDirectory, 4, kEngineOk, {}, 1},
      {"directory, old way", Swap::kDirectory, 3, kEngineOk, {}, 1},
      {"directory with a read-only file kept", Swap::kDirectoryWithReadOnly, 4, kEngineFailed,
       {{"keep.txt", "kept"}}, 2},
      {"link to a directory", Swap::kLink, 4, kEngineOk, {}, 1},
  };
  const Files kOutside = {{"o.txt", "outside"}, {"deep\\p.txt", "p"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetVersion(c.version);
    testutil::RemoveTree(P("outside"));
    enginetest::MakeFiles(P("outside\\"), kOutside);
    Make("x", "the listed file");
    ReadOnly("x");
    const uint32_t listed = os::Fs().GetAttributes(P("x").c_str());
    ASSERT_EQ(listed & os::kAttrDirectory, 0u);
    // The first question (about the listed file) is where the file is replaced; a read-only
    // file of the new directory is kept.
    struct Swapping : enginetest::ScriptedReadOnly {
      int Show(const char* name) override {
        asked.push_back(name);
        if (asked.size() > 1) return std::string(name).find("keep") != std::string::npos
                                         ? kReadOnlyNo : kReadOnlyYes;
        replace();
        return kReadOnlyYes;
      }
      std::function<void()> replace;
    } question;
    bool linked = true;
    question.replace = [&] {
      ASSERT_TRUE(os::Fs().SetAttributes(P("x").c_str(), os::kAttrArchive));
      ASSERT_TRUE(os::Fs().DeleteFile(P("x").c_str()));
      if (c.swap == Swap::kLink) {
        linked = enginetest::MakeDirectoryLink(P("x"), P("outside"));
        return;
      }
      enginetest::MakeFiles(P("x\\"), {{"keep.txt", "kept"}, {"sub\\gone.txt", "g"}});
      if (c.swap == Swap::kDirectoryWithReadOnly) ReadOnly("x\\keep.txt");
    };
    ASSERT_EQ(AskDeleteReadOnly(enginetest::Ui(), P("x").c_str()), kReadOnlyYes);
    if (!linked) {
      testutil::RemoveTree(P("x"));
      GTEST_SKIP() << "no symbolic links on this system";
    }
    const int r = DeleteListedEntry(enginetest::Ui(), P("x"), listed);
    EXPECT_EQ(question.asked.size(), static_cast<std::size_t>(c.questions));
    EXPECT_TREE(Tree("outside"), kOutside);
    const uint32_t after = os::Fs().GetAttributes(P("x").c_str());
    if (c.swap == Swap::kLink && r == kEngineFailed) {
      // Windows removes the link itself; Wine's RemoveDirectoryA follows a Unix link and
      // refuses the directory that is not empty. Either way the link is all that could go.
      EXPECT_EQ(after & (os::kAttrDirectory | os::kAttrReparsePoint),
                os::kAttrDirectory | os::kAttrReparsePoint);
    } else if (c.left.empty()) {
      EXPECT_EQ(r, c.result);
      EXPECT_EQ(after, os::kInvalidAttributes);
    } else {
      EXPECT_EQ(r, c.result);
      EXPECT_TREE(Tree("x"), c.left);
      // The directory kept is no file that got the listed file's read-only flag back.
      EXPECT_EQ(after & (os::kAttrDirectory | os::kAttrReadOnly), os::kAttrDirectory);
    }
    enginetest::RemoveDirectoryLink(P("x"));
    testutil::RemoveTree(P("x"));
  }
}

const Files kTree = {{"a.txt", "a"}, {"ro1.txt", "1"}, {"sub\\ro2.txt", "2"},
                     {"sub\\b.txt", "b"}, {"sub\\deep\\ro3.txt", "3"}};

class EngineDeleteTreeTest : public EngineDeleteTest {
 protected:
  void SetUp() override {
    EngineDeleteTest::SetUp();
    enginetest::MakeFiles(P("t\\"), kTree);
    for (const char* ro : {"t\\ro1.txt", "t\\sub\\ro2.txt", "t\\sub\\deep\\ro3.txt"}) ReadOnly(ro);
  }
};

TEST_F(EngineDeleteTreeTest, WithoutTheQuestionEverythingGoes) {
  EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineOk);
  EXPECT_FALSE(Exists("t"));
}

TEST_F(EngineDeleteTreeTest, NoSkipsOnlyThatFileAndTheNextIsAskedAgain) {
  enginetest::RecordingProgress progress;
  // Answer No for ro2 only, whatever order the search gives.
  struct ByName : enginetest::ScriptedReadOnly {
    int Show(const char* name) override {
      asked.push_back(name);
      return std::string(name).find("ro2") != std::string::npos ? kReadOnlyNo : kReadOnlyYes;
    }
  } question;
  // t\sub cannot go: ro2 is in it.
  EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineFailed);
  EXPECT_EQ(question.asked.size(), 3u);
  EXPECT_TREE(Tree("t"), (Files{{"sub\\ro2.txt", "2"}}));
  EXPECT_TRUE(os::Fs().GetAttributes(P("t\\sub\\ro2.txt").c_str()) & os::kAttrReadOnly);
}

TEST_F(EngineDeleteTreeTest, DeleteAllIsAskedOnce) {
  enginetest::RecordingProgress progress;
  enginetest::ScriptedReadOnly question({kReadOnlyDeleteAll});
  EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineOk);
  EXPECT_EQ(question.asked.size(), 1u);
  EXPECT_FALSE(Exists("t"));
}

TEST_F(EngineDeleteTreeTest, CancelAtTheQuestionEndsTheCommand) {
  enginetest::RecordingProgress progress;
  enginetest::ScriptedReadOnly question({kReadOnlyCancel});
  EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineOk);  // the walk's error flag
  EXPECT_TRUE(progress.cancelDisabled);
  EXPECT_EQ(question.asked.size(), 1u);
  EXPECT_TRUE(Exists("t"));
  // The first read-only file met is still there, and the command's next call stops.
  const std::string first = question.asked[0];
  EXPECT_TRUE(testutil::FileExists(first));
  EXPECT_EQ(DeleteOneFile(enginetest::Ui(), P("t\\a.txt").c_str()), kEngineCancelled);
  // Remembered.
  EXPECT_EQ(AskDeleteReadOnly(enginetest::Ui(), P("t\\ro1.txt").c_str()), kReadOnlyCancel);
}

TEST_F(EngineDeleteTreeTest, CancelDuringTheWalk) {
  enginetest::RecordingProgress progress;
  enginetest::CountingPump pump;
  pump.CancelAtRun(2, progress);
  EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineCancelled);
  EXPECT_EQ(Tree("t").size(), kTree.size() - 1);  // one file went before the Cancel
}

TEST_F(EngineDeleteTreeTest, AFileThatCannotGoIsReportedAndTheRestGoes) {
  auto held = os::Fs().Open(P("t\\sub\\b.txt").c_str(), os::kGenericRead, os::kShareRead,
                            os::kOpenExisting);
  ASSERT_TRUE(held);
  EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineFailed);
  held.reset();
  EXPECT_TREE(Tree("t"), (Files{{"sub\\b.txt", "b"}}));
}

// The read-only question's Yes clears the flag before the delete; when the file still cannot
// go, it gets the flag back, inside a tree and as a selected entry.
TEST_F(EngineDeleteTreeTest, AFileThatCannotGoKeepsItsReadOnlyFlag) {
  const struct Case {
    uint32_t version;
    FsOp op;
    bool inTree;
  } cases[] = {{3, FsOp::kDelete, true},  {4, FsOp::kShellDelete, true},
               {3, FsOp::kDelete, false}, {4, FsOp::kShellDelete, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.version) + (c.inTree ? " in a tree" : " selected"));
    SetVersion(c.version);
    enginetest::RecordingProgress progress;
    struct AlwaysYes : enginetest::ScriptedReadOnly {
      int Show(const char* name) override {
        asked.push_back(name);
        return kReadOnlyYes;
      }
    } question;
    testutil::InstalledFaultyFs fs;
    fs.Fail(c.op, "ro1", 0, 5);
    if (c.inTree) {
      EXPECT_EQ(DeleteTree(enginetest::Ui(), P("t").c_str()), kEngineFailed);
    } else {
      ASSERT_EQ(AskDeleteReadOnly(enginetest::Ui(), P("t\\ro1.txt").c_str()), kReadOnlyYes);
      EXPECT_EQ(DeleteListedEntry(enginetest::Ui(), P("t\\ro1.txt"), os::kAttrReadOnly | os::kAttrArchive),
                kEngineFailed);
    }
    EXPECT_GT(fs.Injected(), 0);
    ASSERT_TRUE(Exists("t\\ro1.txt"));
    EXPECT_TRUE(os::Fs().GetAttributes(P("t\\ro1.txt").c_str()) & os::kAttrReadOnly);
  }
}

TEST_F(EngineDeleteTreeTest, RemoveOneDirectory) {
  ASSERT_TRUE(os::Fs().CreateDir(P("empty").c_str()));
  EXPECT_EQ(RemoveOneDirectory(enginetest::Ui(), P("empty").c_str()), kEngineOk);
  EXPECT_FALSE(Exists("empty"));
  EXPECT_EQ(RemoveOneDirectory(enginetest::Ui(), P("t").c_str()), kEngineFailed);  // not empty
  enginetest::RecordingProgress progress;
  progress.DisableCancel();
  EXPECT_EQ(RemoveOneDirectory(enginetest::Ui(), P("t").c_str()), kEngineCancelled);
}

}  // namespace
