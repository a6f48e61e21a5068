// What one command hands the engine: its own dialogs, passed with every call. A second
// operation started inside the first (from its message pump) is refused by the command gate,
// and even one that ran with its own dialogs would leave the first's questions and Cancel
// alone. And nothing a running operation does depends on the process's current directory,
// which the other pane changes when it is activated meanwhile.
#include <gtest/gtest.h>

#include <string>

#include "frame/command_gate.h"
#include "fileops/engine.h"
#include "fileops/full_path.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using enginetest::Pattern;
using Files = std::map<std::string, std::string>;

constexpr uint32_t kBlock = kCopyBufferSize;

using enginetest::CwdGuard;

// Runs body as a command holding the gate; false when the gate refused it.
template <typename Body>
bool RunCommand(frame::CommandGate& gate, Body body) {
  const frame::CommandGate::Scope scope = gate.Enter();
  if (!scope) return false;
  body();
  return true;
}

TEST(EngineOperation, ASecondOperationInsideTheFirstLeavesTheFirstsDialogsAlone) {
  testutil::TempDir dir;
  const std::string src = dir.Path("src\\"), dst = dir.Path("dst\\");
  const Files sources = {{"a.bin", Pattern(3 * kBlock, 1)},
                         {"b.bin", Pattern(3 * kBlock, 2)},
                         {"c.txt", "new c"}};
  enginetest::MakeFiles(src, sources);
  enginetest::MakeFiles(dst, {{"a.bin", "old a"}, {"b.bin", "old b"}, {"c.txt", "old c"}});
  CopyBuffer buffer, nestedBuffer;
  frame::CommandGate gate;

  enginetest::RecordingProgress progress;
  enginetest::ScriptedOverwrite question({kOverwriteYes, kOverwriteYes});
  const OperationUi first{&progress, &question, nullptr};
  enginetest::CountingPump pump;

  bool secondRan = true;
  enginetest::RecordingProgress nestedProgress;
  enginetest::ScriptedOverwrite nestedQuestion({kOverwriteNo});
  pump.onRun = [&](int run) {
    if (run == 1) {
      // A toolbar click dispatched by the pump: the gate refuses the second command.
      secondRan = RunCommand(gate, [&] {
        CopyOneFile(first, (src + "c.txt").c_str(), (dst + "c.txt").c_str(), nestedBuffer.Data(),
                    nestedBuffer.Size());
      });
      // Even an operation with dialogs of its own asks only those.
      const OperationUi nested{&nestedProgress, &nestedQuestion, nullptr};
      EXPECT_EQ(CopyOneFile(nested, (src + "c.txt").c_str(), (dst + "c.txt").c_str(),
                            nestedBuffer.Data(), nestedBuffer.Size()),
                kEngineOk);
    }
    if (run == 6) progress.DisableCancel();  // the first command's Cancel, on b.bin
  };

  int results[2] = {};
  EXPECT_TRUE(RunCommand(gate, [&] {
    results[0] = CopyOneFile(first, (src + "a.bin").c_str(), (dst + "a.bin").c_str(),
                             buffer.Data(), buffer.Size());
    results[1] = CopyOneFile(first, (src + "b.bin").c_str(), (dst + "b.bin").c_str(),
                             buffer.Data(), buffer.Size());
  }));
  EXPECT_FALSE(secondRan);
  EXPECT_EQ(results[0], kEngineOk);
  EXPECT_EQ(results[1], kEngineCancelled) << "the first command can still be cancelled";
  EXPECT_EQ(question.asked, (std::vector<std::string>{dst + "a.bin", dst + "b.bin"}))
      << "the first command still asks after the second one ended";
  EXPECT_EQ(nestedQuestion.asked, std::vector<std::string>{dst + "c.txt"});
  EXPECT_FALSE(nestedProgress.cancelDisabled);
  EXPECT_EQ(progress.TextsOf(kProgressPath),
            (std::vector<std::string>{src + "a.bin", src + "b.bin"}));
  EXPECT_EQ(nestedProgress.TextsOf(kProgressPath).size(), 0u) << "No: nothing copied";
  EXPECT_TREE(enginetest::ReadTree(dst),
              (Files{{"a.bin", sources.at("a.bin")}, {"b.bin", "old b"}, {"c.txt", "old c"}}));
  EXPECT_TRUE(enginetest::TemporaryFiles(dst).empty());
}

TEST(EngineOperation, ACancelFromOutsideEndsTheOperationAndItsQuestion) {
  testutil::TempDir dir;
  enginetest::MakeFiles(dir.Dir(), {{"src\\a.txt", "new"}, {"dst\\a.txt", "old"}});
  CopyBuffer buffer;
  enginetest::RecordingProgress progress;
  struct ClosingQuestion : OverwriteDialog {
    const OperationUi* ui = nullptr;
    bool dismissed = false;
    int Show(const char*) override {
      ui->Cancel();  // the window is closed while the question is up
      return dismissed ? kOverwriteCancel : kOverwriteYes;
    }
    void Dismiss() override { dismissed = true; }
  } question;
  const OperationUi ui{&progress, &question, nullptr};
  question.ui = &ui;
  EXPECT_EQ(CopyOneFile(ui, dir.Path("src\\a.txt").c_str(), dir.Path("dst\\a.txt").c_str(),
                        buffer.Data(), buffer.Size()),
            kEngineQuestionCancelled);
  EXPECT_TRUE(progress.cancelDisabled);
  EXPECT_EQ(testutil::ReadFileBytes(dir.Path("dst\\a.txt")), "old");
  EXPECT_TRUE(enginetest::TemporaryFiles(dir.Path("dst\\")).empty());
}

// The other pane is activated during the operation: the current directory moves to a folder
// holding the same names. Every operation still works on the folder it was given.
TEST(EngineOperation, TheCurrentDirectoryMovingMidwayChangesNothing) {
  enum class Op { kCopyTree, kMoveTree, kDeleteTree };
  const Files left = {{"t\\one.bin", Pattern(2 * kBlock + 5, 11)},
                      {"t\\ro.txt", "left read-only"},
                      {"t\\sub\\two.bin", Pattern(kBlock + 1, 12)},
                      {"t\\sub\\deeper\\three.txt", "left three"}};
  const Files right = {{"t\\one.bin", "right one"},
                       {"t\\ro.txt", "right read-only"},
                       {"t\\sub\\two.bin", "right two"},
                       {"t\\sub\\deeper\\three.txt", "right three"}};
  for (Op op : {Op::kCopyTree, Op::kMoveTree, Op::kDeleteTree}) {
    SCOPED_TRACE(static_cast<int>(op));
    CwdGuard cwd;
    testutil::TempDir dir;
    const std::string l = dir.Path("left\\"), r = dir.Path("right\\"), d = dir.Path("dst\\");
    enginetest::MakeFiles(l, left);
    enginetest::MakeFiles(r, right);
    ASSERT_TRUE(os::Fs().CreateDir(d.c_str()));
    for (const std::string& side : {l, r})
      ASSERT_TRUE(os::Fs().SetAttributes((side + "t\\ro.txt").c_str(), os::kAttrReadOnly));
    ASSERT_TRUE(os::Fs().SetCurrentDir(l.c_str()));

    CopyBuffer buffer;
    enginetest::RecordingProgress progress;
    enginetest::ScriptedReadOnly readOnly({kReadOnlyYes});
    const OperationUi ui{&progress, nullptr, op == Op::kDeleteTree ? &readOnly : nullptr};
    enginetest::CountingPump pump;
    pump.onRun = [&](int) { os::Fs().SetCurrentDir(r.c_str()); };
    // As across drives: the move's rename fails, so the tree is copied and deleted.
    testutil::InstalledFaultyFs fs;
    fs.Fail(testutil::FsOp::kMove, "left", 0, testutil::kErrNotSameDevice);

    const std::string source = l + "t", destination = d + "t";
    int result = -99;
    switch (op) {
      case Op::kCopyTree:
        result = CopyTree(ui, source.c_str(), destination.c_str(), buffer.Data(), buffer.Size());
        break;
      case Op::kMoveTree:
        result = MoveTree(ui, source.c_str(), destination.c_str(), buffer.Data(), buffer.Size());
        break;
      case Op::kDeleteTree:
        result = DeleteTree(ui, source.c_str());
        break;
    }
    EXPECT_EQ(result, kEngineOk);
    EXPECT_GT(pump.runs, 1);
    // The other folder is untouched, read-only attribute included.
    EXPECT_TREE(enginetest::ReadTree(r), right);
    EXPECT_NE(os::Fs().GetAttributes((r + "t\\ro.txt").c_str()) & os::kAttrReadOnly, 0u);
    Files expectedDestination;
    if (op != Op::kDeleteTree) expectedDestination = left;
    EXPECT_TREE(enginetest::ReadTree(d), expectedDestination);
    if (op == Op::kCopyTree) {
      EXPECT_TREE(enginetest::ReadTree(l), left);
    } else {
      EXPECT_FALSE(testutil::FileExists(l + "t\\one.bin"));
    }
    for (const std::string& side : {l, r, d})
      os::Fs().SetAttributes((side + "t\\ro.txt").c_str(), os::kAttrNormal);
  }
}

// The delete command asks about an entry by its name but clears the read-only attribute of its
// full path: never of a file of that name in the current directory.
TEST(EngineOperation, TheReadOnlyAnswerChangesExactlyTheFullPath) {
  for (int answer : {kReadOnlyYes, kReadOnlyDeleteAll, kReadOnlyNo}) {
    SCOPED_TRACE(answer);
    CwdGuard cwd;
    testutil::TempDir dir;
    enginetest::MakeFiles(dir.Dir(), {{"table\\ro.txt", "table"}, {"other\\ro.txt", "other"}});
    const std::string mine = dir.Path("table\\ro.txt"), theirs = dir.Path("other\\ro.txt");
    for (const std::string& f : {mine, theirs})
      ASSERT_TRUE(os::Fs().SetAttributes(f.c_str(), os::kAttrReadOnly));
    ASSERT_TRUE(os::Fs().SetCurrentDir(dir.Path("other").c_str()));
    enginetest::ScriptedReadOnly question({answer});
    const OperationUi ui{nullptr, nullptr, &question};
    EXPECT_EQ(AskDeleteReadOnly(ui, mine.c_str(), "ro.txt"), answer);
    EXPECT_EQ(question.asked, std::vector<std::string>{"ro.txt"});
    const bool cleared = !(os::Fs().GetAttributes(mine.c_str()) & os::kAttrReadOnly);
    EXPECT_EQ(cleared, answer != kReadOnlyNo);
    EXPECT_NE(os::Fs().GetAttributes(theirs.c_str()) & os::kAttrReadOnly, 0u);
    for (const std::string& f : {mine, theirs}) os::Fs().SetAttributes(f.c_str(), os::kAttrNormal);
  }
}

// The command resolves what the user typed against its table's directory, never the current
// directory.
TEST(EngineOperation, NamesAreResolvedAgainstTheTableDirectory) {
  struct Case {
    const char* directory;
    const char* typed;
    const char* joined;
  } cases[] = {
      {"C:\\data", "dest", "C:\\data\\dest"},
      {"C:\\", "dest", "C:\\dest"},
      {"C:\\data", "..\\up", "C:\\data\\..\\up"},
      {"C:\\data", "\\root", "C:\\root"},
      {"C:\\data", "D:\\x", "D:\\x"},
      {"C:\\data", "c:x", "C:\\data\\x"},
      {"C:\\data", "C:", "C:\\data"},
      {"C:\\data", "D:x", "D:\\x"},
      {"C:\\data", "\\\\srv\\share\\x", "\\\\srv\\share\\x"},
      {"\\\\srv\\share\\dir", "\\top", "\\\\srv\\share\\top"},
      {"\\\\srv\\share\\dir", "x", "\\\\srv\\share\\dir\\x"},
      // A trail byte 0x5C ("\") of a double-byte character is no separator.
      {"C:\\\x95\x5C", "x", "C:\\\x95\x5C\\x"},
      {"C:\\data", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.directory) + " + " + c.typed);
    EXPECT_EQ(JoinToDirectory(c.directory, c.typed), c.joined);
  }

  CwdGuard cwd;
  testutil::TempDir dir;
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("table").c_str()));
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("elsewhere").c_str()));
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir.Path("elsewhere").c_str()));
  EXPECT_EQ(FullPathIn(dir.Path("table"), "x\\..\\dest"), dir.Path("table\\dest"));
  EXPECT_EQ(FullPathIn(dir.Path("table"), ".."), dir.Path("").substr(0, dir.Dir().size() - 1));
  EXPECT_EQ(FullPathIn(dir.Path("table"), ""), "");
}

}  // namespace
