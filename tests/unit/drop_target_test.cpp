// A drop is placed where it landed, not where its point lies once the block is handled: the
// entry under the pointer is found again by its exact name after the listing changed, and a
// drop whose entry or directory went is refused.
#include <gtest/gtest.h>

#include "fileops/drop_target.h"
#include "tests/unit/table_test_support.h"

namespace {

using fileops::DropTargetRecord;
using fileops::FindRecordedTarget;

class RecordedDropTest : public tabletest::TableTest {
 protected:
  // The entry of exactly this name (case twins apart).
  static table::BINFO* Exact(const table::Sorm& t, const char* name) {
    for (table::BINFO* e : t.Entries())
      if (e->Data() && e->Data()->name == name) return e;
    return nullptr;
  }
};

TEST_F(RecordedDropTest, TheEntryUnderThePointerIsFoundAgainByItsName) {
  MakeFile("b.txt");
  MakeDir("sub");
  auto t = Open();
  struct Case {
    const char* name;  // the entry dropped onto; null: the pane itself
  } cases[] = {{"sub"}, {"b.txt"}, {nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name ? c.name : "pane");
    const DropTargetRecord record = fileops::RecordOfDrop(*t, c.name ? Exact(*t, c.name) : nullptr);
    // Entries come before and between the recorded one: every index moves.
    MakeFile(std::string("0") + (c.name ? c.name : "pane"));
    MakeFile(std::string("c") + (c.name ? c.name : "pane"));
    ASSERT_GE(t->Reload(), 0);
    const fileops::RecordedPlace now = FindRecordedTarget(*t, record);
    ASSERT_TRUE(now.ok) << now.message;
    if (c.name) {
      ASSERT_NE(now.entry, nullptr);
      EXPECT_EQ(now.entry->Data()->name, c.name);
      EXPECT_EQ(now.entry, Exact(*t, c.name));
    } else {
      EXPECT_EQ(now.entry, nullptr);
    }
  }
}

TEST_F(RecordedDropTest, ADropWhoseEntryOrDirectoryWentIsRefused) {
  MakeDir("sub");
  MakeFile("b.txt");
  auto t = Open();
  const DropTargetRecord onSub = fileops::RecordOfDrop(*t, Exact(*t, "sub"));
  DropTargetRecord elsewhere = fileops::RecordOfDrop(*t, nullptr);
  elsewhere.directory += "other\\";
  ASSERT_TRUE(os::Fs().RemoveDir(dir_.Path("sub").c_str()));
  ASSERT_GE(t->Reload(), 0);
  const fileops::RecordedPlace gone = FindRecordedTarget(*t, onSub);
  EXPECT_FALSE(gone.ok);
  EXPECT_EQ(gone.entry, nullptr);
  EXPECT_NE(gone.message.find("sub"), std::string::npos) << gone.message;
  const fileops::RecordedPlace moved = FindRecordedTarget(*t, elsewhere);
  EXPECT_FALSE(moved.ok);
  EXPECT_FALSE(moved.message.empty());
}

}  // namespace
