// The attribute command's change of one entry: cleared first, set at the end, and put back as
// it was whenever the change cannot be finished.
#include "fileops/attribute_change.h"

#include <gtest/gtest.h>

#include "tests/unit/faulty_fs.h"
#include "tests/unit/test_util.h"

namespace {

using testutil::FsOp;

constexpr uint32_t kOld = os::kAttrReadOnly | os::kAttrArchive;
constexpr uint32_t kNew = os::kAttrArchive;

TEST(AttributeChangeTest, OldAttributesComeBackWhenTheChangeCannotFinish) {
  const struct Case {
    const char* name;
    int failingSet;  // which SetAttributes call fails (0: none)
    bool finish;     // Finish is called (else the change is dropped unfinished)
    bool cleared, finished;
    uint32_t after;
  } cases[] = {
      {"finished", 0, true, true, true, kNew},
      {"final set fails", 2, true, true, false, kOld},
      {"dropped unfinished", 0, false, true, false, kOld},
      {"clearing fails", 1, false, false, false, kOld},
  };
  testutil::TempDir dir;
  const std::string file = dir.Path("f.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(testutil::WriteFileBytes(file, "x"));
    ASSERT_TRUE(os::Fs().SetAttributes(file.c_str(), kOld));
    {
      testutil::InstalledFaultyFs fs;
      if (c.failingSet) fs.Fail(FsOp::kSetAttributes, "f.txt", c.failingSet, 5);
      fileops::AttributeChange change(file, kOld);
      EXPECT_EQ(change.Cleared(), c.cleared);
      if (c.cleared) {
        EXPECT_EQ(os::Fs().GetAttributes(file.c_str()) & os::kAttrReadOnly, 0u) << "cleared";
      }
      if (c.finish) {
        EXPECT_EQ(change.Finish(kNew), c.finished);
      }
    }
    EXPECT_EQ(os::Fs().GetAttributes(file.c_str()) & kOld, c.after);
    os::Fs().SetAttributes(file.c_str(), os::kAttrArchive);
  }
}

}  // namespace
