// Copying one file: data, time and attributes, the progress it shows, the overwrite question,
// and what is left after every kind of failure. The faults are injected through the OS layer,
// so the same cases run natively and under Wine against the real file system.
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "table/size_text.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using enginetest::Pattern;
using testutil::FsOp;

constexpr uint32_t kBlock = kCopyBufferSize;

class EngineCopyTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLastCopyError(-99); }
  std::string P(const std::string& name) const { return dir_.Path(name); }
  int Copy(const std::string& from, const std::string& to) {
    return CopyOneFile(enginetest::Ui(), P(from).c_str(), P(to).c_str(), buffer_.Data(),
                       buffer_.Size());
  }
  void Make(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(testutil::WriteFileBytes(P(name), bytes)) << name;
  }
  std::string Read(const std::string& name) const { return testutil::ReadFileBytes(P(name)); }
  bool Exists(const std::string& name) const { return testutil::FileExists(P(name)); }
  uint32_t Attributes(const std::string& name) const {
    return os::Fs().GetAttributes(P(name).c_str());
  }

  testutil::TempDir dir_;
  CopyBuffer buffer_;
};

TEST_F(EngineCopyTest, CopiesDataLastWriteTimeAndAttributes) {
  for (int run = 0; run < 4; ++run) {
    const bool existing = run % 2 == 1;
    const std::string data = Pattern(run < 2 ? 3 * kBlock + 17 : 0, 1);
    SCOPED_TRACE(std::to_string(data.size()) + (existing ? " bytes over an existing file"
                                                          : " bytes to a new name"));
    os::Fs().SetAttributes(P("src.bin").c_str(), os::kAttrArchive);
    Make("src.bin", data);
    ASSERT_TRUE(enginetest::SetWriteTime(P("src.bin"), enginetest::TimeAt(12345)));
    ASSERT_TRUE(os::Fs().SetAttributes(P("src.bin").c_str(), os::kAttrReadOnly | os::kAttrArchive));
    if (existing) Make("dst.bin", "old contents");
    EXPECT_EQ(Copy("src.bin", "dst.bin"), kEngineOk);
    EXPECT_EQ(LastCopyError(), 0);
    EXPECT_EQ(Read("dst.bin"), data);
    EXPECT_EQ(enginetest::WriteTime(P("dst.bin")), enginetest::TimeAt(12345));
    EXPECT_EQ(Attributes("dst.bin"), Attributes("src.bin"));
    EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
    os::Fs().SetAttributes(P("dst.bin").c_str(), os::kAttrArchive);
    os::Fs().DeleteFile(P("dst.bin").c_str());
  }
  os::Fs().SetAttributes(P("src.bin").c_str(), os::kAttrArchive);
}

TEST_F(EngineCopyTest, HiddenAndSystemAttributesTravel) {
  Make("src.txt", "x");
  ASSERT_TRUE(os::Fs().SetAttributes(P("src.txt").c_str(),
                                     os::kAttrHidden | os::kAttrSystem | os::kAttrArchive));
  if (!(Attributes("src.txt") & os::kAttrHidden))
    GTEST_SKIP() << "this file system keeps no hidden attribute";
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineOk);
  EXPECT_EQ(Attributes("dst.txt"), Attributes("src.txt"));
}

TEST_F(EngineCopyTest, HiddenOrSystemDestinationIsReplacedWhenTheUserAgrees) {
  Make("src.txt", "new");
  Make("dst.txt", "old");
  ASSERT_TRUE(os::Fs().SetAttributes(P("dst.txt").c_str(), os::kAttrHidden | os::kAttrSystem));
  enginetest::ScriptedOverwrite question({kOverwriteYes});
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineOk);
  EXPECT_EQ(Read("dst.txt"), "new");
  EXPECT_EQ(Attributes("dst.txt"), Attributes("src.txt"));
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineCopyTest, ProgressShowsTheTotalFromOneBufferOn) {
  struct Case {
    uint32_t size;
    bool total;
    std::vector<int> gauges;  // after the start at 0
  } cases[] = {
      {0, false, {10000}},
      {kBlock - 1, false, {10000, 10000}},
      {kBlock, true, {10000, 10000}},
      {100000, true, {4800, 9600, 10000, 10000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    Make("src.bin", Pattern(c.size, 2));
    enginetest::RecordingProgress progress;
    ASSERT_EQ(Copy("src.bin", "dst.bin"), kEngineOk);
    EXPECT_EQ(progress.TextsOf(kProgressPath), std::vector<std::string>{P("src.bin")});
    if (c.total) {
      EXPECT_EQ(progress.TextsOf(kProgressSlash), (std::vector<std::string>{"/", ""}));
      EXPECT_EQ(progress.TextsOf(kProgressTotal),
                (std::vector<std::string>{table::SizeText(c.size), ""}));
    } else {
      EXPECT_EQ(progress.TextsOf(kProgressSlash), std::vector<std::string>{""});
    }
    EXPECT_EQ(progress.gaugeLow, 0);
    EXPECT_EQ(progress.gaugeHigh, kGaugeMax);
    std::vector<int> expected{0};
    expected.insert(expected.end(), c.gauges.begin(), c.gauges.end());
    EXPECT_EQ(progress.gauges, expected);
    EXPECT_EQ(progress.texts[kProgressDone], "");  // emptied at the end
    if (c.size >= 100000) {
      EXPECT_EQ(progress.TextsOf(kProgressDone)[0], table::SizeText(kBlock));
    }
    os::Fs().DeleteFile(P("dst.bin").c_str());
  }
}

TEST_F(EngineCopyTest, CopyOntoItselfDoesNothing) {
  const std::string data = Pattern(1000, 3);
  Make("Same Name.txt", data);
  ASSERT_TRUE(os::Fs().CreateDir(P("sub").c_str()));
  std::vector<std::string> others = {"Same Name.txt", "SAME NAME.TXT", "sub\\..\\same name.txt"};
  os::FindData fd;
  if (os::Fs().FindFirst(P("Same Name.txt").c_str(), fd) && fd.alternateName[0])
    others.push_back(fd.alternateName);  // the 8.3 alias: only the file system knows
  enginetest::RecordingProgress progress;
  for (const std::string& other : others) {
    SCOPED_TRACE(other);
    EXPECT_EQ(Copy("Same Name.txt", other), kEngineSameFile);
    EXPECT_EQ(Read("Same Name.txt"), data);
  }
  EXPECT_TRUE(progress.TextsOf(kProgressPath).empty());
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  EXPECT_EQ(EngineResultMessage(EngineCommand::kCopy, kEngineSameFile, 0).text, nullptr);
}

struct AnswerCase {
  const char* name;
  std::deque<int> script;
  int64_t sourceSecond, destinationSecond;
  int result;
  bool overwritten;
};

TEST_F(EngineCopyTest, OverwriteQuestionAnswers) {
  const AnswerCase cases[] = {
      {"yes", {kOverwriteYes}, 10, 20, kEngineOk, true},
      {"no", {kOverwriteNo}, 20, 10, kEngineOk, false},
      {"all", {kOverwriteAll}, 10, 20, kEngineOk, true},
      {"cancel", {kOverwriteCancel}, 20, 10, kEngineQuestionCancelled, false},
      {"newer only, source newer", {kOverwriteNewerOnly}, 20, 10, kEngineOk, true},
      {"newer only, same time", {kOverwriteNewerOnly}, 10, 10, kEngineOk, false},
      {"newer only, destination newer", {kOverwriteNewerOnly}, 10, 20, kEngineOk, false},
      {"dialog failed to show", {-1}, 20, 10, kEngineQuestionCancelled, false},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.name);
    Make("src.txt", "new");
    Make("dst.txt", "old");
    ASSERT_TRUE(enginetest::SetWriteTime(P("src.txt"), enginetest::TimeAt(c.sourceSecond)));
    ASSERT_TRUE(enginetest::SetWriteTime(P("dst.txt"), enginetest::TimeAt(c.destinationSecond)));
    enginetest::RecordingProgress progress;
    enginetest::ScriptedOverwrite question(c.script);
    EXPECT_EQ(Copy("src.txt", "dst.txt"), c.result);
    EXPECT_EQ(question.asked, std::vector<std::string>{P("dst.txt")});
    EXPECT_EQ(Read("dst.txt"), c.overwritten ? "new" : "old");
    EXPECT_EQ(Read("src.txt"), "new");
    EXPECT_EQ(progress.cancelDisabled, c.result == kEngineQuestionCancelled);
    EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  }
}

TEST_F(EngineCopyTest, RememberedAnswersDecideTheNextFiles) {
  Make("a", "new a");
  Make("b", "new b");
  Make("c", "new c");
  for (const char* d : {"da", "db", "dc"}) Make(d, "old");
  ASSERT_TRUE(enginetest::SetWriteTime(P("b"), enginetest::TimeAt(100)));
  ASSERT_TRUE(enginetest::SetWriteTime(P("db"), enginetest::TimeAt(50)));
  ASSERT_TRUE(enginetest::SetWriteTime(P("c"), enginetest::TimeAt(100)));
  ASSERT_TRUE(enginetest::SetWriteTime(P("dc"), enginetest::TimeAt(100)));
  enginetest::RecordingProgress progress;
  {
    // No answers only the one file; the next is asked again.
    enginetest::ScriptedOverwrite question({kOverwriteNo, kOverwriteNewerOnly});
    EXPECT_EQ(Copy("a", "da"), kEngineOk);
    EXPECT_EQ(Copy("b", "db"), kEngineOk);  // NewerOnly: b is newer
    EXPECT_EQ(Copy("c", "dc"), kEngineOk);  // not asked: same time, kept
    EXPECT_EQ(question.asked.size(), 2u);
    EXPECT_EQ(Read("da"), "old");
    EXPECT_EQ(Read("db"), "new b");
    EXPECT_EQ(Read("dc"), "old");
  }
  {
    enginetest::ScriptedOverwrite question({kOverwriteAll});
    EXPECT_EQ(Copy("a", "da"), kEngineOk);
    EXPECT_EQ(Copy("c", "dc"), kEngineOk);
    EXPECT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(Read("dc"), "new c");
  }
  {
    enginetest::ScriptedOverwrite question({kOverwriteCancel});
    EXPECT_EQ(Copy("a", "da"), kEngineQuestionCancelled);
    // Every later call of the command stops at the progress dialog's disabled Cancel.
    EXPECT_EQ(Copy("b", "fresh"), kEngineCancelled);
    EXPECT_FALSE(Exists("fresh"));
    EXPECT_EQ(question.asked.size(), 1u);
  }
}

TEST_F(EngineCopyTest, WithoutAQuestionAnExistingFileIsOverwritten) {
  Make("src.txt", "new");
  Make("dst.txt", "old");
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineOk);
  EXPECT_EQ(Read("dst.txt"), "new");
}

// One injected fault, its result and message, for a source of three and a half blocks.
struct FaultCase {
  const char* name;
  std::function<void(testutil::FaultyFs&, enginetest::CountingPump&,
                     enginetest::RecordingProgress&)>
      arm;
  int result;
  int lastCopyError;
  const char* message;
  bool existingOnly = false;  // a new file's name is not opened before the copy is complete
};

TEST_F(EngineCopyTest, FaultsLeaveNoPartialFileAndTheOldFileIntact) {
  const std::string data = Pattern(3 * kBlock + kBlock / 2, 4);
  const FaultCase cases[] = {
      {"disk full at the first block",
       [](auto& fs, auto&, auto&) { fs.DiskFullAfter(0); }, kEngineDiskFull,
       kErrnoNoSpc, kMsgCopyDiskFull.text},
      {"disk full in the middle",
       [](auto& fs, auto&, auto&) { fs.DiskFullAfter(kBlock + 5); }, kEngineDiskFull,
       kErrnoNoSpc, kMsgCopyDiskFull.text},
      {"disk full at the last block",
       [](auto& fs, auto&, auto&) { fs.DiskFullAfter(3 * kBlock + 1); },
       kEngineDiskFull, kErrnoNoSpc, kMsgCopyDiskFull.text},
      {"write refused", [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kWrite, "", 2, 5); },
       kEngineDiskFull, kErrnoAcces, kMsgCopyDiskFull.text},
      {"read error mid-file",
       [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kRead, "src.bin", 2, testutil::kErrCrc); },
       kEngineFailed, kErrnoIo, ErrorCodeMessage(kErrnoIo)},
      {"source vanishes mid-copy",
       [](auto& fs, auto&, auto&) {
         fs.Fail(FsOp::kRead, "src.bin", 3, testutil::kErrFileInvalid);
       },
       kEngineFailed, kErrnoIo, ErrorCodeMessage(kErrnoIo)},
      {"cancel between blocks",
       [](auto&, auto& pump, auto& progress) { pump.CancelAtRun(3, progress); },
       kEngineCancelled, 0, kMsgCancelled.text},
      {"cancel before the first block",
       [](auto&, auto& pump, auto& progress) { pump.CancelAtRun(1, progress); },
       kEngineCancelled, 0, kMsgCancelled.text},
      {"destination open refused",
       [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kOpen, "dst", 0, 5); },
       kEngineDestinationDenied, 0, kMsgDestinationInaccessible.text, true},
      {"creating files in the destination folder refused",
       [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kCreate, "", 0, 5); }, kEngineFailed,
       kErrnoAcces, ErrorCodeMessage(kErrnoAcces)},
      {"source open refused",
       [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kOpen, "src.bin", 0, 32); },
       kEngineSourceDenied, 0, kMsgSourceInaccessible.text},
  };
  for (bool existing : {true, false}) {
    for (const FaultCase& c : cases) {
      if (c.existingOnly && !existing) continue;
      SCOPED_TRACE(std::string(c.name) + (existing ? ", over an old file" : ", new file"));
      Make("src.bin", data);
      if (existing) Make("dst.bin", "the user's old file");
      {
        enginetest::RecordingProgress progress;
        enginetest::CountingPump pump;
        enginetest::ScriptedOverwrite question({kOverwriteYes});
        testutil::InstalledFaultyFs fs;
        c.arm(fs, pump, progress);
        EXPECT_EQ(Copy("src.bin", "dst.bin"), c.result);
        EXPECT_EQ(LastCopyError(), c.lastCopyError);
        EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, c.result, LastCopyError()).text,
                     c.message);
        EXPECT_GT(fs.Injected() + pump.runs, 0);
      }
      EXPECT_EQ(Read("src.bin"), data);
      if (existing)
        EXPECT_EQ(Read("dst.bin"), "the user's old file");
      else
        EXPECT_FALSE(Exists("dst.bin"));
      EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
      os::Fs().DeleteFile(P("dst.bin").c_str());
    }
  }
}

// When the partial copy cannot be removed, what stays is a temporary file: a truncated file
// never carries the destination's name. A directory that leaves no room for the long
// temporary name beside a short destination name gets the short one.
TEST_F(EngineCopyTest, APartialCopyThatCannotBeRemovedNeverHasTheRealName) {
  const std::string data = Pattern(3 * kBlock + 9, 11);
  ASSERT_LT(dir_.Dir().size(), 200u);
  const std::string deep = std::string(248 - dir_.Dir().size(), 'd') + "\\";
  ASSERT_TRUE(os::Fs().CreateDir(P(deep.substr(0, deep.size() - 1)).c_str()));
  const FaultCase cases[] = {
      {"disk full", [](auto& fs, auto&, auto&) { fs.DiskFullAfter(kBlock + 5); },
       kEngineDiskFull, kErrnoNoSpc, kMsgCopyDiskFull.text},
      {"read error",
       [](auto& fs, auto&, auto&) { fs.Fail(FsOp::kRead, "src.bin", 2, testutil::kErrCrc); },
       kEngineFailed, kErrnoIo, ErrorCodeMessage(kErrnoIo)},
      {"cancel", [](auto&, auto& pump, auto& progress) { pump.CancelAtRun(3, progress); },
       kEngineCancelled, 0, kMsgCancelled.text},
  };
  Make("src.bin", data);
  for (const std::string& folder : {std::string(), deep}) {
    for (const FaultCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (folder.empty() ? "" : ", deep folder"));
      {
        enginetest::RecordingProgress progress;
        enginetest::CountingPump pump;
        testutil::InstalledFaultyFs fs;
        c.arm(fs, pump, progress);
        fs.Fail(FsOp::kDelete, "", 0, 5);
        fs.Fail(FsOp::kSetAttributes, "", 0, 5);
        EXPECT_EQ(Copy("src.bin", folder + "dst"), c.result);
        EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, c.result, LastCopyError()).text,
                     c.message);
      }
      EXPECT_FALSE(Exists(folder + "dst"));
      EXPECT_EQ(Read("src.bin"), data);
      const std::vector<std::string> left = enginetest::TemporaryFiles(P(folder));
      ASSERT_EQ(left.size(), 1u);
      EXPECT_EQ(left[0].rfind(folder.empty() ? "~sm" : "~", 0), 0u) << left[0];
      if (!folder.empty()) {
        EXPECT_LE(left[0].size(), 3u) << left[0];
      }
      EXPECT_TRUE(os::Fs().DeleteFile(P(folder + left[0]).c_str()));
    }
  }
}

TEST_F(EngineCopyTest, FailedReplaceKeepsTheOldFile) {
  Make("src.bin", Pattern(5000, 5));
  Make("dst.bin", "old");
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kReplace, "dst.bin", 0, 5);
    EXPECT_EQ(Copy("src.bin", "dst.bin"), kEngineFailed);
    EXPECT_EQ(LastCopyError(), kErrnoAcces);
  }
  EXPECT_EQ(Read("dst.bin"), "old");
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  // Also when the copy had already been made read-only like its source.
  os::Fs().SetAttributes(P("src.bin").c_str(), os::kAttrReadOnly);
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kReplace, "dst.bin", 0, 5);
    EXPECT_EQ(Copy("src.bin", "dst.bin"), kEngineFailed);
  }
  EXPECT_EQ(Read("dst.bin"), "old");
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  os::Fs().SetAttributes(P("src.bin").c_str(), os::kAttrArchive);
}

TEST_F(EngineCopyTest, SourceHeldByAnotherProgram) {
  Make("src.txt", "data");
  Make("dst.txt", "old");
  auto held = os::Fs().Open(P("src.txt").c_str(), os::kGenericRead | os::kGenericWrite,
                            os::kShareNone, os::kOpenExisting);
  ASSERT_TRUE(held);
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineSourceDenied);
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, kEngineSourceDenied, LastCopyError()).text,
               kMsgSourceInaccessible.text);
  // The move commands name the general error for it.
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kMove, kEngineSourceDenied, LastCopyError()).text,
               ErrorCodeMessage(0));
  held.reset();
  EXPECT_EQ(Read("dst.txt"), "old");
}

TEST_F(EngineCopyTest, DestinationHeldByAnotherProgram) {
  Make("src.txt", "data");
  Make("dst.txt", "old");
  auto held = os::Fs().Open(P("dst.txt").c_str(), os::kGenericRead | os::kGenericWrite,
                            os::kShareNone, os::kOpenExisting);
  ASSERT_TRUE(held);
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineDestinationDenied);
  held.reset();
  EXPECT_EQ(Read("dst.txt"), "old");
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
}

TEST_F(EngineCopyTest, ReadOnlyDestinationIsNotReplaced) {
  Make("src.txt", "data");
  Make("dst.txt", "old");
  ASSERT_TRUE(os::Fs().SetAttributes(P("dst.txt").c_str(), os::kAttrReadOnly));
  enginetest::ScriptedOverwrite question({kOverwriteYes});
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineFailed);
  EXPECT_EQ(LastCopyError(), kErrnoAcces);
  EXPECT_STREQ(EngineResultMessage(EngineCommand::kCopy, kEngineFailed, LastCopyError()).text,
               "ファイルにアクセスできません。属性及び他のプロセスが使用していないかを確認して下さい");
  EXPECT_EQ(Read("dst.txt"), "old");
  EXPECT_TRUE(Attributes("dst.txt") & os::kAttrReadOnly);
  EXPECT_TRUE(enginetest::TemporaryFiles(dir_.Dir()).empty());
  os::Fs().SetAttributes(P("dst.txt").c_str(), os::kAttrArchive);
}

TEST_F(EngineCopyTest, DestinationThatIsADirectory) {
  Make("src.txt", "data");
  ASSERT_TRUE(os::Fs().CreateDir(P("dir").c_str()));
  EXPECT_EQ(Copy("src.txt", "dir"), kEngineDestinationDenied);
  EXPECT_TRUE(Attributes("dir") & os::kAttrDirectory);
}

TEST_F(EngineCopyTest, MissingSourceOrDestinationDirectory) {
  Make("src.txt", "data");
  EXPECT_EQ(Copy("none.txt", "dst.txt"), kEngineFailed);
  EXPECT_EQ(LastCopyError(), kErrnoNoEnt);
  EXPECT_STREQ(ErrorCodeMessage(LastCopyError()), "パス名またはファイル名が見つかりません");
  EXPECT_FALSE(Exists("dst.txt"));
  EXPECT_EQ(Copy("src.txt", "nodir\\dst.txt"), kEngineFailed);
  EXPECT_EQ(LastCopyError(), kErrnoNoEnt);
}

TEST_F(EngineCopyTest, SourceRemovedJustBeforeItIsOpened) {
  Make("src.txt", "data");
  testutil::InstalledFaultyFs fs;
  fs.before = [this](FsOp op, const std::string& path) {
    if (op == FsOp::kOpen && path == P("src.txt"))
      os::BackendServices().fs->DeleteFile(path.c_str());
  };
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineFailed);
  EXPECT_EQ(LastCopyError(), kErrnoNoEnt);
  EXPECT_FALSE(Exists("dst.txt"));
}

TEST_F(EngineCopyTest, SourceCutShortByAnotherWriterCopiesWhatIsThere) {
  const std::string data = Pattern(3 * kBlock, 6);
  Make("src.bin", data);
  testutil::InstalledFaultyFs fs;
  int reads = 0;
  fs.before = [&](FsOp op, const std::string& path) {
    if (op != FsOp::kRead || path != P("src.bin") || ++reads != 2) return;
    auto other = os::BackendServices().fs->Open(path.c_str(), os::kGenericWrite,
                                                os::kShareRead | os::kShareWrite,
                                                os::kOpenExisting);
    ASSERT_TRUE(other);
    ASSERT_TRUE(other->Seek(kBlock + 10));
    ASSERT_TRUE(other->SetEnd());
  };
  EXPECT_EQ(Copy("src.bin", "dst.bin"), kEngineOk);
  EXPECT_EQ(Read("dst.bin"), data.substr(0, kBlock + 10));
  EXPECT_EQ(Read("dst.bin"), Read("src.bin"));
}

TEST_F(EngineCopyTest, DestinationThatGoesAwayMeanwhileIsMadeNew) {
  Make("src.txt", "mine");
  Make("dst.txt", "theirs");
  testutil::InstalledFaultyFs fs;
  // The existence check finds it there; before the same-file probe opens it, it goes.
  int opens = 0;
  fs.before = [&](FsOp op, const std::string& path) {
    if (op == FsOp::kOpen && path == P("dst.txt") && ++opens == 1)
      os::BackendServices().fs->DeleteFile(path.c_str());
  };
  enginetest::ScriptedOverwrite question;
  EXPECT_EQ(Copy("src.txt", "dst.txt"), kEngineOk);
  EXPECT_TRUE(question.asked.empty());
  EXPECT_EQ(Read("dst.txt"), "mine");
}

}  // namespace
