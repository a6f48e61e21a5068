// Links to files: Wine lists a Unix symbolic link to a file as a plain file and deletes or
// renames through it to the file it leads to. A delete or move of such a link is refused, a
// copy copies what it leads to, and the file it leads to stays as it was, in its place.
#include <gtest/gtest.h>

#include <optional>

#include "config/program_context.h"
#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using testutil::FsOp;
using Files = std::map<std::string, std::string>;

const Files kTarget = {{"real.log", "the log the link leads to"}};

// target\real.log; src\latest.log a link to it (full path), src\alias.log a link to
// src\plain.log (relative, in its own directory).
class EngineFileLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRecycleDeletes(false);
    enginetest::MakeFiles(P("target\\"), kTarget);
    enginetest::MakeFiles(P("src\\"), {{"plain.log", "plain"}});
    if (!enginetest::MakeFileLink(P("src\\latest.log"), P("target\\real.log")) ||
        !enginetest::MakeFileLink(P("src\\alias.log"), "plain.log"))
      GTEST_SKIP() << "no symbolic links on this system";
  }
  void TearDown() override {
    SetRecycleDeletes(false);
    for (const char* link : {"src\\latest.log", "src\\alias.log", "dst\\moved\\latest.log",
                             "dst\\moved\\alias.log"})
      enginetest::RemoveFileLink(P(link));
  }
  void SetVersion(uint32_t version) {
    context_.reset();
    config::ProgramContext c = config::Context();
    c.windowsMajorVersion = version;
    context_.emplace(c);
  }
  std::string P(const std::string& name) const { return dir_.Path(name); }
  Files Tree(const std::string& name) const { return enginetest::ReadTree(P(name) + "\\"); }
  bool IsLink(const std::string& name) const { return os::Fs().IsFileLink(P(name).c_str()); }
  // What was there before, read through the links: nothing of it may be lost.
  void ExpectUntouched() const {
    EXPECT_TREE(Tree("target"), kTarget);
    EXPECT_TRUE(IsLink("src\\latest.log"));
    EXPECT_TRUE(IsLink("src\\alias.log"));
    EXPECT_TREE(Tree("src"), (Files{{"plain.log", "plain"},
                                     {"alias.log", "plain"},
                                     {"latest.log", kTarget.at("real.log")}}));
  }

  testutil::TempDir dir_;
  CopyBuffer buffer_;
  std::optional<config::ScopedContext> context_;
};

TEST_F(EngineFileLinkTest, TheSystemTellsALinkToAFileFromTheFileItself) {
  ASSERT_TRUE(enginetest::MakeDirectoryLink(P("tlink"), P("target")));
  const struct {
    const char* path;
    bool link;
  } cases[] = {
      {"src\\latest.log", true},
      {"src\\alias.log", true},
      {"target\\real.log", false},
      {"src\\plain.log", false},
      {"tlink\\real.log", false},  // a file reached through a link to its directory
      {"tlink", false},            // a directory link is no file link
      {"target", false},
      {"src\\missing.log", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsLink(c.path), c.link) << c.path;
  enginetest::RemoveDirectoryLink(P("tlink"));
}

TEST_F(EngineFileLinkTest, DeletingALinkIsRefusedAndTheFileItLeadsToStays) {
  const struct {
    const char* name;
    uint32_t version;  // below 4 the file is deleted directly, else through the shell
    bool recycle;
  } ways[] = {{"delete call", 3, false}, {"shell, for good", 4, false}, {"shell, recycled", 4, true}};
  for (const auto& way : ways) {
    for (const char* link : {"src\\latest.log", "src\\alias.log"}) {
      SCOPED_TRACE(std::string(way.name) + " " + link);
      SetVersion(way.version);
      SetRecycleDeletes(way.recycle);
      EXPECT_EQ(DeleteListedEntry(enginetest::Ui(), P(link), os::kAttrArchive), kEngineFailed);
      EXPECT_EQ(LastCopyError(), kErrnoFileLink);
      EXPECT_EQ(RefusedLinkPath(), P(link));
      ExpectUntouched();
    }
  }
}

TEST_F(EngineFileLinkTest, MovingALinkIsRefusedBeforeAnythingIsWritten) {
  const struct {
    const char* name;
    bool renameFirst;
    bool renameFails;  // another drive: the move copies, then would delete
  } ways[] = {{"rename", true, false}, {"copy and delete", true, true}, {"copy first", false, false}};
  for (const auto& way : ways) {
    for (const char* link : {"latest.log", "alias.log"}) {
      SCOPED_TRACE(std::string(way.name) + " " + link);
      testutil::InstalledFaultyFs fs;
      if (way.renameFails) fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
      const std::string source = P("src\\") + link, destination = P("dst\\") + link;
      ASSERT_TRUE(os::Fs().CreateDir(P("dst").c_str()) || testutil::FileExists(P("dst")));
      EXPECT_EQ(MoveOneFile(enginetest::Ui(), source.c_str(), destination.c_str(), buffer_.Data(),
                            buffer_.Size(), way.renameFirst),
                kEngineFailed);
      EXPECT_EQ(LastCopyError(), kErrnoFileLink);
      EXPECT_EQ(fs.Calls(FsOp::kMove), 0);
      std::string storage;
      EXPECT_EQ(std::string(EngineFailureMessage(EngineCommand::kMove, kEngineFailed,
                                                 enginetest::Ui(), storage).text),
                FileLinkMessage(source.c_str()));
      EXPECT_NE(storage.find(link), std::string::npos) << storage;
      ExpectUntouched();
      EXPECT_TREE(Tree("dst"), Files{});
    }
  }
}

TEST_F(EngineFileLinkTest, ACopyTakesWhatTheLinkLeadsTo) {
  ASSERT_EQ(CopyOneFile(enginetest::Ui(), P("src\\latest.log").c_str(), P("copy.log").c_str(),
                        buffer_.Data(), buffer_.Size()),
            kEngineOk);
  EXPECT_FALSE(IsLink("copy.log"));
  EXPECT_EQ(testutil::ReadFileBytes(P("copy.log")), kTarget.at("real.log"));
  ExpectUntouched();
}

// Trees holding links: a move by copying copies what they lead to and leaves the links; a
// delete leaves them too; a rename takes them along unchanged.
TEST_F(EngineFileLinkTest, TreesKeepTheirLinksAndTheFilesTheyLeadTo) {
  enum class Op { kDelete, kMoveByCopying, kMoveByRenaming };
  const struct {
    const char* name;
    Op op;
    int result;
    bool linksInSource;
  } cases[] = {
      {"delete", Op::kDelete, kEngineFailed, true},
      {"move by copying", Op::kMoveByCopying, kEngineFailed, true},
      {"move by renaming", Op::kMoveByRenaming, kEngineOk, false},
  };
  // The link to a file beside it would dangle once that file went: the trees hold the other.
  const Files copied = {{"plain.log", "plain"}, {"latest.log", kTarget.at("real.log")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    testutil::RemoveTree(P("src"));
    testutil::RemoveTree(P("dst"));
    SetUp();
    enginetest::RemoveFileLink(P("src\\alias.log"));
    ASSERT_TRUE(os::Fs().CreateDir(P("dst").c_str()));
    int r;
    {
      testutil::InstalledFaultyFs fs;
      if (c.op == Op::kMoveByCopying) fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
      r = c.op == Op::kDelete ? DeleteTree(enginetest::Ui(), P("src").c_str())
                              : MoveTree(enginetest::Ui(), P("src").c_str(),
                                         P("dst\\moved").c_str(), buffer_.Data(), buffer_.Size());
    }
    EXPECT_EQ(r, c.result);
    EXPECT_TREE(Tree("target"), kTarget);
    if (c.result != kEngineOk) {
      EXPECT_EQ(LastCopyError(), kErrnoFileLink);
    }
    if (c.linksInSource) {
      EXPECT_TRUE(IsLink("src\\latest.log"));
    }
    switch (c.op) {
      case Op::kDelete:
        // The plain file went; the links, and with them what they read, stay.
        EXPECT_TREE(Tree("src"), (Files{{"latest.log", kTarget.at("real.log")}}));
        EXPECT_FALSE(testutil::FileExists(P("src\\plain.log")));
        break;
      case Op::kMoveByCopying:
        EXPECT_TREE(Tree("dst\\moved"), copied);
        EXPECT_FALSE(IsLink("dst\\moved\\latest.log"));
        EXPECT_FALSE(testutil::FileExists(P("src\\plain.log")));
        break;
      case Op::kMoveByRenaming:
        EXPECT_TREE(Tree("dst\\moved"), copied);
        EXPECT_TRUE(IsLink("dst\\moved\\latest.log"));
        EXPECT_FALSE(testutil::FileExists(P("src")));
        break;
    }
  }
}

}  // namespace
