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
    for (const char* link : {"src\\sub\\lnk", "dst\\sub\\lnk", "top", "dst\\sub"})
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

// A link in the destination where the tree merges into an existing directory: nothing goes
// through it into the directory it leads to, the command names it, and a move keeps its
// sources.
TEST_F(EngineLinkTest, ALinkInTheDestinationIsNeverWrittenThrough) {
  const Files kFrom = {{"a.txt", "new a"}, {"sub\\b.txt", "new b"}, {"sub\\keep.txt", "new"},
                       {"sub\\deep\\k.bin", "new k"}};
  const struct Case {
    const char* name;
    bool move;
    const char* link;         // the link made in the destination
    const char* destination;  // the tree's destination
  } cases[] = {
      {"copy, link inside", false, "dst\\sub", "dst"},
      {"move, link inside", true, "dst\\sub", "dst"},
      {"copy, link as the destination", false, "top", "top"},
      {"move, link as the destination", true, "top", "top"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    for (const char* tree : {"from", "dst"}) testutil::RemoveTree(P(tree));
    enginetest::MakeFiles(P("from\\"), kFrom);
    ASSERT_TRUE(os::Fs().CreateDir(P("dst").c_str()));
    ASSERT_TRUE(enginetest::MakeDirectoryLink(P(c.link), P("outside")));
    const int r = c.move ? MoveTree(enginetest::Ui(), P("from").c_str(), P(c.destination).c_str(),
                                    buffer_.Data(), buffer_.Size())
                         : CopyTree(enginetest::Ui(), P("from").c_str(), P(c.destination).c_str(),
                                    buffer_.Data(), buffer_.Size());
    EXPECT_EQ(r, kEngineFailed);
    EXPECT_EQ(LastCopyError(), kErrnoDestinationLink);
    EXPECT_TREE(Tree("outside"), kOutside);
    EXPECT_TREE(Tree("from"), kFrom);
    EXPECT_TRUE(IsLink(c.link));
    EXPECT_TRUE(enginetest::TemporaryFiles(P("outside\\")).empty());
    std::string storage;
    const CommandMessage m = EngineFailureMessage(
        c.move ? EngineCommand::kMove : EngineCommand::kCopy, r, enginetest::Ui(), storage);
    ASSERT_TRUE(m.text);
    EXPECT_EQ(std::string(m.text), DestinationLinkMessage(P(c.link).c_str()));
    EXPECT_NE(std::string(m.text).find(P(c.link)), std::string::npos);
  }
}

}  // namespace
