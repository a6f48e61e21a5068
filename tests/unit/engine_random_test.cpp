// Random trees copied and moved under random faults and random answers, checking after each
// run that no byte of the user's data is lost: every source file is still in the source
// unchanged or (after a move) complete at its destination; every file that was at the
// destination is unchanged or was replaced by its source with the user's consent; nothing
// partial and no temporary file is left anywhere. A failing run prints its seed; set
// SORM_RANDOM_SEED to repeat it alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using enginetest::Pattern;
using testutil::FsOp;
using Files = std::map<std::string, std::string>;

#ifdef _WIN32
constexpr int kRuns = 150;  // the real file system under Wine is slower
#else
constexpr int kRuns = 250;
#endif

enum class Op { kCopyTree, kMoveTree, kCopyFile, kMoveFileFull, kMoveFileRelative, kCount };

// Answers at random and remembers whether any answer let a file be overwritten.
class RandomQuestion : public OverwriteDialog {
 public:
  explicit RandomQuestion(std::mt19937& rng) : rng_(rng) {}
  int Show(const char*) override {
    static const int kAnswers[] = {kOverwriteYes, kOverwriteNo, kOverwriteNo, kOverwriteNewerOnly,
                                   kOverwriteAll, kOverwriteCancel};
    int a = kAnswers[rng_() % 6];
    if (a != kOverwriteNo && a != kOverwriteCancel) consented = true;
    return a;
  }
  bool consented = false;

 private:
  std::mt19937& rng_;
};

class EngineRandomTest : public ::testing::Test {
 protected:
  uint32_t Size() {
    static const uint32_t kEdges[] = {0, 1, kCopyBufferSize - 1, kCopyBufferSize,
                                      kCopyBufferSize + 1, 2 * kCopyBufferSize};
    return rng_() % 3 == 0 ? kEdges[rng_() % 6] : rng_() % (3 * kCopyBufferSize);
  }

  Files RandomTree(int depth, const std::string& prefix) {
    Files files;
    int n = 1 + static_cast<int>(rng_() % 5);
    for (int i = 0; i < n; ++i)
      files[prefix + "f" + std::to_string(i) + ".bin"] = Pattern(Size(), rng_());
    if (depth > 0) {
      int dirs = static_cast<int>(rng_() % 3);
      for (int d = 0; d < dirs; ++d) {
        Files sub = RandomTree(depth - 1, prefix + "d" + std::to_string(d) + "\\");
        files.insert(sub.begin(), sub.end());
      }
    }
    return files;
  }

  // Some of the source's names already exist at the destination with other contents, and
  // the destination holds files of its own.
  Files RandomDestination(const Files& source) {
    Files dst;
    for (const auto& [rel, content] : source)
      if (rng_() % 3 == 0) dst[rel] = Pattern(Size(), rng_());
    if (rng_() % 2) dst["own.txt"] = "the destination's own file";
    return dst;
  }

  void RandomTimes(const std::string& root, const Files& files) {
    for (const auto& [rel, content] : files)
      enginetest::SetWriteTime(root + rel, enginetest::TimeAt(rng_() % 4));
  }

  // One random fault, or none.
  void ArmFault(testutil::FaultyFs& fs, enginetest::CountingPump& pump,
                enginetest::RecordingProgress& progress) {
    switch (rng_() % 10) {
      case 0: fs.DiskFullAfter(rng_() % (4 * kCopyBufferSize)); break;
      case 1: fs.Fail(FsOp::kRead, "", 1 + rng_() % 8, testutil::kErrCrc); break;
      case 2: fs.Fail(FsOp::kWrite, "", 1 + rng_() % 8, os::kErrAccessDenied); break;
      case 3: fs.Fail(FsOp::kOpen, "", 1 + rng_() % 20, os::kErrSharingViolation); break;
      case 4: fs.Fail(FsOp::kReplace, "", 1 + rng_() % 3, os::kErrAccessDenied); break;
      case 5: pump.CancelAtRun(1 + rng_() % 12, progress); break;
      case 6: fs.Fail(FsOp::kDelete, "", 1 + rng_() % 4, os::kErrSharingViolation); break;
      case 7: fs.Fail(FsOp::kCreateDir, "", 1 + rng_() % 3, os::kErrAccessDenied); break;
      case 8: fs.Fail(FsOp::kCreate, "", 1 + rng_() % 4, os::kErrAccessDenied); break;
      default: break;
    }
    // The source on another drive: its renames fail (the copy's own rename into place, in the
    // destination's directory, does not).
    if (rng_() % 2) fs.Fail(FsOp::kMove, "\\src", 0, testutil::kErrNotSameDevice);
  }

  std::mt19937 rng_;
};

void CheckNothingLost(const Files& source, const Files& destination, const Files& srcAfter,
                      const Files& dstAfter, bool move, bool consent) {
  for (const auto& [rel, content] : source) {
    auto s = srcAfter.find(rel);
    if (s != srcAfter.end()) {
      EXPECT_EQ(s->second == content, true) << "source changed: " << rel;
      continue;
    }
    EXPECT_TRUE(move) << "a copy removed its source: " << rel;
    auto d = dstAfter.find(rel);
    EXPECT_TRUE(d != dstAfter.end() && d->second == content) << "moved file lost: " << rel;
  }
  for (const auto& [rel, content] : srcAfter)
    EXPECT_TRUE(source.count(rel)) << "new file in the source: " << rel;
  for (const auto& [rel, old] : destination) {
    auto d = dstAfter.find(rel);
    ASSERT_TRUE(d != dstAfter.end()) << "destination file lost: " << rel;
    if (d->second == old) continue;
    auto s = source.find(rel);
    EXPECT_TRUE(s != source.end() && d->second == s->second) << "destination damaged: " << rel;
    EXPECT_TRUE(consent) << "overwritten without consent: " << rel;
  }
  for (const auto& [rel, content] : dstAfter) {
    if (destination.count(rel)) continue;
    auto s = source.find(rel);
    EXPECT_TRUE(s != source.end() && s->second == content) << "partial or stray file: " << rel;
  }
}

TEST_F(EngineRandomTest, NoByteOfUserDataIsLost) {
  unsigned first = 1, count = kRuns;
  if (const char* seed = std::getenv("SORM_RANDOM_SEED")) {
    first = static_cast<unsigned>(std::strtoul(seed, nullptr, 10));
    count = 1;
  }
  CopyBuffer buffer;
  char cwd[os::kMaxPath] = {};
  os::Fs().GetCurrentDir(cwd, sizeof(cwd));
  for (unsigned seed = first; seed < first + count; ++seed) {
    SCOPED_TRACE("SORM_RANDOM_SEED=" + std::to_string(seed));
    rng_.seed(seed);
    testutil::TempDir dir;
    const std::string src = dir.Path("src"), dst = dir.Path("dst");
    const Op op = static_cast<Op>(rng_() % static_cast<unsigned>(Op::kCount));
    const bool tree = op == Op::kCopyTree || op == Op::kMoveTree;
    Files source = tree ? RandomTree(2, "") : Files{{"one.bin", Pattern(Size(), rng_())}};
    Files destination = RandomDestination(source);
    if (!tree) destination.erase("own.txt");
    enginetest::MakeFiles(src + "\\", source);
    if (!destination.empty() || rng_() % 2) enginetest::MakeFiles(dst + "\\", destination);
    RandomTimes(src + "\\", source);
    RandomTimes(dst + "\\", destination);

    bool consent = true;
    int result = 0;
    {
      enginetest::RecordingProgress progress;
      enginetest::CountingPump pump;
      std::unique_ptr<RandomQuestion> question;
      if (rng_() % 4) question = std::make_unique<RandomQuestion>(rng_);
      testutil::InstalledFaultyFs fs;
      ArmFault(fs, pump, progress);
      const OperationUi ui{&progress, question.get(), nullptr};
      const std::string from = src + "\\one.bin", to = dst + "\\one.bin";
      switch (op) {
        case Op::kCopyTree:
          result = CopyTree(ui, src.c_str(), dst.c_str(), buffer.Data(), buffer.Size());
          break;
        case Op::kMoveTree:
          result = MoveTree(ui, src.c_str(), dst.c_str(), buffer.Data(), buffer.Size());
          break;
        case Op::kCopyFile:
          result = CopyOneFile(ui, from.c_str(), to.c_str(), buffer.Data(), buffer.Size());
          break;
        case Op::kMoveFileFull:
          result = MoveOneFile(ui, from.c_str(), to.c_str(), buffer.Data(),
                               buffer.Size(), MoveRenamesFirst(to.c_str()));
          break;
        default: {
          os::BackendServices().fs->SetCurrentDir(dir.Dir().c_str());
          result = MoveOneFile(ui, from.c_str(), "dst\\one.bin", buffer.Data(),
                               buffer.Size(), true);
          break;
        }
      }
      consent = !question || question->consented;
    }
    os::Fs().SetCurrentDir(cwd);
    SCOPED_TRACE("operation " + std::to_string(static_cast<int>(op)) + " gave " +
                 std::to_string(result));
    EXPECT_TRUE(result >= -8 && result <= 1);
    const bool move = op == Op::kMoveTree || op == Op::kMoveFileFull || op == Op::kMoveFileRelative;
    CheckNothingLost(source, destination, enginetest::ReadTree(src + "\\"),
                     enginetest::ReadTree(dst + "\\"), move, consent);
    EXPECT_TRUE(enginetest::TemporaryFiles(dir.Dir()).empty());
    if (HasFailure()) break;
  }
}

}  // namespace
