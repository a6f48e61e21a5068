// Directory links (junctions, symbolic links) in trees that are copied, moved and deleted: the
// directory a link leads to is never walked into, and stays as it was, byte for byte.
#include <gtest/gtest.h>

#include "fileops/engine.h"
#include "tests/unit/engine_test_support.h"
#include "tests/unit/faulty_fs.h"

namespace {

using namespace fileops;
using enginetest::Pattern;
using testutil::FsOp;
using Files = std::map<std::string, std::string>;

const Files kOutside = {{"keep.txt", "the link's target"},
                        {"deep\\k.bin", Pattern(kCopyBufferSize + 1, 3)}};
const Files kInside = {{"a.txt", "a"}, {"sub\\b.txt", "b"}};

// kInside with the link sub\lnk, which leads to the directory "outside" beside it.
class EngineLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    enginetest::MakeFiles(P("outside\\"), kOutside);
    enginetest::MakeFiles(P("src\\"), kInside);
    if (!enginetest::MakeDirectoryLink(P("src\\sub\\lnk"), P("outside")))
      GTEST_SKIP() << "no symbolic links on this system";
  }
  void TearDown() override {
    for (const char* link : {"src\\sub\\lnk", "dst\\sub\\lnk", "top"})
      enginetest::RemoveDirectoryLink(P(link));
  }
  std::string P(const std::string& name) const { return dir_.Path(name); }
  Files Tree(const std::string& name) const { return enginetest::ReadTree(P(name) + "\\"); }
  bool IsLink(const std::string& name) const {
    const uint32_t a = os::Fs().GetAttributes(P(name).c_str());
    return a != os::kInvalidAttributes && (a & os::kAttrReparsePoint) && (a & os::kAttrDirectory);
  }
  // What reading through the link finds: the outside tree.
  static Files ThroughLink(const std::string& prefix, Files tree) {
    for (const auto& [rel, content] : kOutside) tree[prefix + rel] = content;
    return tree;
  }

  testutil::TempDir dir_;
  CopyBuffer buffer_;
};

TEST_F(EngineLinkTest, ALinkToADirectoryIsADirectoryAndAReparsePoint) {
  constexpr uint32_t kLink = os::kAttrDirectory | os::kAttrReparsePoint;
  os::FindData fd;
  ASSERT_TRUE(os::Fs().FindFirst(P("src\\sub\\lnk").c_str(), fd));
  EXPECT_EQ(fd.attributes & kLink, kLink);
  std::map<std::string, uint32_t> listed;
  auto search = os::Fs().FindFirst(P("src\\sub\\*").c_str(), fd);
  for (bool more = search != nullptr; more; more = search->Next(fd)) listed[fd.name] = fd.attributes;
  EXPECT_EQ(listed["lnk"] & kLink, kLink);
  EXPECT_EQ(listed["b.txt"] & kLink, 0u);
  EXPECT_EQ(os::Fs().GetAttributes(P("src\\sub\\lnk").c_str()) & kLink, kLink);
  // The directory it leads to, and an ordinary one, are no reparse points.
  for (const char* plain : {"outside", "src\\sub"}) {
    EXPECT_EQ(os::Fs().GetAttributes(P(plain).c_str()) & kLink, os::kAttrDirectory) << plain;
    ASSERT_TRUE(os::Fs().FindFirst(P(plain).c_str(), fd));
    EXPECT_EQ(fd.attributes & kLink, os::kAttrDirectory) << plain;
  }
}

TEST_F(EngineLinkTest, TreeOperationsNeverWalkIntoALink) {
  enum class Op { kCopy, kMoveByCopying, kMoveByRenaming };
  const struct Case {
    const char* name;
    Op op;
    int result;
    int lastCopyError;
    Files source;       // what is read below src afterwards (through the link if it is there)
    Files destination;  // ... and below dst
    bool linkInSource;
  } cases[] = {
      {"copy", Op::kCopy, kEngineFailed, kErrnoLinkLeft, ThroughLink("sub\\lnk\\", kInside),
       kInside, true},
      // The copied files go; the link stays with the directory that holds it.
      {"move by copying", Op::kMoveByCopying, kEngineFailed, kErrnoLinkLeft,
       ThroughLink("sub\\lnk\\", {}), kInside, true},
      // A rename takes the link along as it is.
      {"move by renaming", Op::kMoveByRenaming, kEngineOk, 0, {},
       ThroughLink("sub\\lnk\\", kInside), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    testutil::RemoveTree(P("src"));
    testutil::RemoveTree(P("dst"));
    SetUp();
    int r;
    {
      testutil::InstalledFaultyFs fs;
      if (c.op == Op::kMoveByCopying) fs.Fail(FsOp::kMove, "src", 0, testutil::kErrNotSameDevice);
      r = c.op == Op::kCopy
              ? CopyTree(enginetest::Ui(), P("src").c_str(), P("dst").c_str(), buffer_.Data(), buffer_.Size())
              : MoveTree(enginetest::Ui(), P("src").c_str(), P("dst").c_str(), buffer_.Data(), buffer_.Size());
    }
    EXPECT_EQ(r, c.result);
    EXPECT_EQ(LastCopyError(), c.lastCopyError);
    if (r != kEngineOk) {
      EXPECT_STREQ(EngineResultMessage(EngineCommand::kMove, r, LastCopyError()).text,
                   ErrorCodeMessage(kErrnoLinkLeft));
    }
    EXPECT_TREE(Tree("outside"), kOutside);
    EXPECT_TREE(Tree("src"), c.source);
    EXPECT_TREE(Tree("dst"), c.destination);
    EXPECT_EQ(IsLink("src\\sub\\lnk"), c.linkInSource);
    EXPECT_EQ(IsLink("dst\\sub\\lnk"), !c.linkInSource);
    EXPECT_TRUE(enginetest::TemporaryFiles(P("dst\\")).empty());
  }
}

// A link selected as the tree itself: a copy or a move is refused before anything is made, a
// delete removes at most the link.
TEST_F(EngineLinkTest, ALinkGivenAsTheTreeIsNeverFollowed) {
  ASSERT_TRUE(enginetest::MakeDirectoryLink(P("top"), P("outside")));
  {
    testutil::InstalledFaultyFs fs;
    fs.Fail(FsOp::kMove, "top", 0, testutil::kErrNotSameDevice);
    EXPECT_EQ(MoveTree(enginetest::Ui(), P("top").c_str(), P("dst").c_str(), buffer_.Data(), buffer_.Size()),
              kEngineFailed);
    EXPECT_EQ(LastCopyError(), kErrnoLinkLeft);
    EXPECT_EQ(fs.Calls(FsOp::kMove), 0) << "not even renamed";
  }
  EXPECT_EQ(CopyTree(enginetest::Ui(), P("top").c_str(), P("dst").c_str(), buffer_.Data(), buffer_.Size()),
            kEngineFailed);
  EXPECT_EQ(LastCopyError(), kErrnoLinkLeft);
  EXPECT_FALSE(testutil::FileExists(P("dst")));
  EXPECT_TRUE(IsLink("top"));
  // Windows removes the link itself; Wine's RemoveDirectoryA follows it and refuses the
  // directory that is not empty. Either way the files stay.
  const int deleted = DeleteTree(enginetest::Ui(), P("top").c_str());
  EXPECT_TRUE(deleted == kEngineOk || deleted == kEngineFailed) << deleted;
  EXPECT_TREE(Tree("outside"), kOutside);
}

}  // namespace
