// The drop block as another program may hand it over: every malformed block is refused as a
// whole (no path comes out of it), a sound one reads back exactly as written, and building a
// block takes a fixed number of allocations whatever the number of entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fileops/drop_block.h"
#include "fileops/drop_policy.h"
#include "tests/unit/allocation_count.h"

using fileops::DropBlock;
using fileops::DropBlockError;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A header with the given list offset and wide flag, followed by raw list bytes.
std::vector<uint8_t> Block(uint32_t offset, bool wide, const std::string& list) {
  std::vector<uint8_t> b(fileops::kDropHeaderSize, 0);
  Put32(b, 0, offset);
  Put32(b, 4, 7);
  Put32(b, 8, 9);
  Put32(b, 16, wide ? 1 : 0);
  b.insert(b.end(), list.begin(), list.end());
  return b;
}

// UTF-16LE bytes of an ASCII text.
std::string Wide(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}

const std::string kLong(260, 'a');

}  // namespace

// Every block either reads whole or is refused whole: no path comes out of a refused one.
TEST(DropBlockTest, BlocksReadWholeOrAreRefusedWhole) {
  using namespace std::string_literals;
  using E = DropBlockError;
  struct Case {
    const char* what;
    std::vector<uint8_t> block;
    DropBlockError expected;
    size_t count;  // paths read (when expected is kNone)
  };
  const std::string path259 = "C:\\" + std::string(256, 'b');
  const std::vector<Case> cases = {
      {"zero length", {}, E::kTooSmall, 0},
      {"header cut short", std::vector<uint8_t>(19, 0), E::kTooSmall, 0},
      {"offset past the end", Block(4000, false, "C:\\a\0\0"s), E::kBadOffset, 0},
      {"offset at the end", Block(26, false, "C:\\a\0\0"s), E::kBadOffset, 0},
      {"offset inside the header", Block(8, false, "C:\\a\0\0"s), E::kBadOffset, 0},
      {"offset wraps", Block(0xFFFFFFF0u, false, "C:\\a\0\0"s), E::kBadOffset, 0},
      {"last path without NUL", Block(20, false, "C:\\a\0C:\\b"s), E::kUnterminated, 0},
      {"list without its final NUL", Block(20, false, "C:\\a\0"s), E::kUnterminated, 0},
      {"path of 260 bytes", Block(20, false, "C:\\a\0C:\\"s + kLong + "\0\0"s),
       E::kPathTooLong, 0},
      {"relative path", Block(20, false, "C:\\a\0b.txt\0\0"s), E::kNotFullPath, 0},
      {"drive-relative path", Block(20, false, "C:b.txt\0\0"s), E::kNotFullPath, 0},
      {"wildcard", Block(20, false, "C:\\a\\*.txt\0\0"s), E::kNotFullPath, 0},
      {"UNC without share", Block(20, false, "\\\\server\0\0"s), E::kNotFullPath, 0},
      {"wide without final NUL", Block(20, true, Wide("C:\\a") + "\0\0"s), E::kUnterminated, 0},
      {"wide cut in a unit", Block(20, true, Wide("C:\\a") + "\0"s), E::kUnterminated, 0},
      {"wide path of 260 units", Block(20, true, Wide("C:\\" + kLong) + "\0\0\0\0"s),
       E::kPathTooLong, 0},
      {"no files", Block(20, false, "\0"s), E::kNone, 0},
      {"two files", Block(20, false, "C:\\a b\\c.txt\0\\\\srv\\share\\d\0\0"s), E::kNone, 2},
      {"a path of 259 bytes", Block(20, false, path259 + "\0\0"s), E::kNone, 1},
      {"list after a gap", Block(24, false, "xxxxC:\\a\0\0"s), E::kNone, 1},
      {"padding after the list", Block(20, false, "C:\\a\0\0\0\0\0\0"s), E::kNone, 1},
      {"wide", Block(20, true, Wide("C:\\a") + "\0\0"s + Wide("D:\\b") + "\0\0\0\0"s), E::kNone,
       2},
      // A double-byte name whose trail byte is a backslash stays one path.
      {"trail byte 0x5C", Block(20, false, "C:\\\x95\x5C.txt\0\0"s), E::kNone, 1},
  };
  for (const Case& c : cases) {
    DropBlock out;
    out.ansi.push_back("stale");
    EXPECT_EQ(fileops::ReadDropBlock(c.block.data(), c.block.size(), out), c.expected) << c.what;
    EXPECT_EQ(out.Count(), c.count) << c.what;
    if (c.expected != E::kNone) {
      EXPECT_TRUE(out.ansi.empty() && out.widePaths.empty()) << c.what;
      EXPECT_STRNE(fileops::DropBlockMessage(c.expected), "") << c.what;
    } else {
      EXPECT_EQ(out.x, 7) << c.what;
      EXPECT_EQ(out.y, 9) << c.what;
    }
  }
  DropBlock out;
  auto b = Block(20, true, Wide("C:\\a") + "\0\0"s + "\0\0"s);
  ASSERT_EQ(fileops::ReadDropBlock(b.data(), b.size(), out), E::kNone);
  EXPECT_TRUE(out.wide);
  EXPECT_EQ(out.widePaths[0], u"C:\\a");
}

TEST(DropBlockTest, WrittenBlockReadsBackWithItsPointAndPaths) {
  const std::vector<std::string> paths = {"C:\\dir\\a.txt", "Z:\\\x95\x5C\\b", "\\\\s\\x\\y"};
  const std::string list = fileops::JoinDropPaths(paths);
  std::vector<uint8_t> block(fileops::DropBlockSize(list), 0xEE);
  EXPECT_EQ(block.size(), 20u + 13 + 8 + 8 + 1);
  fileops::WriteDropBlock(block.data(), block.size(), list, -5, 123, true);
  DropBlock out;
  ASSERT_EQ(fileops::ReadDropBlock(block.data(), block.size(), out), DropBlockError::kNone);
  EXPECT_EQ(out.ansi, paths);
  EXPECT_EQ(out.x, -5);
  EXPECT_EQ(out.y, 123);
  EXPECT_TRUE(out.nonClient);
  EXPECT_FALSE(out.wide);
  EXPECT_EQ(block.back(), 0);

  ASSERT_TRUE(fileops::SetDropPoint(block.data(), block.size(), 40, 50, false));
  ASSERT_EQ(fileops::ReadDropBlock(block.data(), block.size(), out), DropBlockError::kNone);
  EXPECT_EQ(out.x, 40);
  EXPECT_EQ(out.y, 50);
  EXPECT_FALSE(out.nonClient);
  EXPECT_EQ(out.ansi, paths);
  EXPECT_FALSE(fileops::SetDropPoint(block.data(), 19, 1, 1, false));
}

TEST(DropBlockTest, OnlyFilesOfDrivesAndSharesAreFullPaths) {
  struct Case {
    const char* path;
    bool full;
  } cases[] = {
      {"C:\\a.txt", true},
      {"C:\\", true},
      {"C:a.txt", false},
      {"\\a.txt", false},
      {"\\\\server\\share\\a.txt", true},
      {"\\\\server\\share", true},
      {"\\\\server\\", false},
      {"\\\\server", false},
      {"\\\\\\share\\a", false},
      {"\\\\server\\\\a", false},
      // Devices and raw paths are no files of a share.
      {"\\\\.\\PhysicalDrive0", false},
      {"\\\\.\\pipe\\x", false},
      {"\\\\.\\C:\\a.txt", false},
      {"\\\\?\\C:\\a.txt", false},
      // The system reads "/" as a separator: these are devices, or shares without a name.
      {"\\\\./pipe\\x", false},
      {"\\\\?/C:\\a.txt", false},
      {"\\\\server/\\a", false},
      {"\\\\\x95\x5C\\/a", false},                        // \\表\/a: an empty share
      {"\\\\server/share\\a.txt", true},
      // A server name ending in a character whose trail byte is 0x5C.
      {"\\\\\x95\x5C\\\x8B\xA4\x97\x4C\\a.txt", true},  // \\表\共有\a.txt
      {"\\\\\x94\x5Cx", false},                          // \\能x: no share
      {"\\\\\x94\x5C\\", false},                        // \\能\: an empty share
      {"C:\\a*.txt", false},
      {"\\\\server\\share\\a?.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(fileops::IsFullDroppedPath(c.path), c.full) << c.path;
}

TEST(DropBlockTest, HundredThousandFilesReadInFull) {
  std::vector<std::string> paths;
  for (int i = 0; i < 100000; ++i) paths.push_back("C:\\many\\f" + std::to_string(i) + ".txt");
  const std::string list = fileops::JoinDropPaths(paths);
  std::vector<uint8_t> block(fileops::DropBlockSize(list));
  fileops::WriteDropBlock(block.data(), block.size(), list, 0, 0, false);
  DropBlock out;
  ASSERT_EQ(fileops::ReadDropBlock(block.data(), block.size(), out), DropBlockError::kNone);
  ASSERT_EQ(out.Count(), 100000u);
  EXPECT_EQ(out.ansi[99999], "C:\\many\\f99999.txt");
}

namespace {
// The allocations made to build the block of n entries selected evenly over a table of
// entries, so that both sizes walk the same table.
uint64_t BuildAllocations(const std::vector<table::SM_DAT>& entries, size_t n) {
  std::vector<const table::SM_DAT*> selected;
  const size_t step = entries.size() / n;
  for (size_t i = 0; i < n; ++i) selected.push_back(&entries[i * step]);
  size_t count = 0;
  std::string list;
  std::vector<uint8_t> block;
  uint64_t made;
  {
    const testutil::AllocationCounter counter;
    list = fileops::DragPathList("C:\\some\\directory\\", selected, true, &count);
    block.resize(fileops::DropBlockSize(list));
    fileops::WriteDropBlock(block.data(), block.size(), list, 0, 0, true);
    made = counter.Count();
  }
  EXPECT_EQ(count, n);
  DropBlock out;
  EXPECT_EQ(fileops::ReadDropBlock(block.data(), block.size(), out), DropBlockError::kNone);
  EXPECT_EQ(out.Count(), n);
  if (out.Count() == n) {
    EXPECT_EQ(out.ansi.back(), "C:\\some\\directory\\" + entries[(n - 1) * step].name);
  }
  return made;
}
}  // namespace

// The list and the block are each built in one piece: a fixed number of allocations whatever
// the selection's size (one per entry, or a copy of the list per entry, would show here). The
// time it takes is measured by bench/drop_block_bench.
TEST(DropBlockTest, BuildingTakesFixedAllocationsWhateverTheSelection) {
  std::vector<table::SM_DAT> entries(100000);
  for (size_t i = 0; i < entries.size(); ++i) entries[i].name = "file" + std::to_string(i) + ".dat";
  const uint64_t ten = BuildAllocations(entries, 10);
  const uint64_t small = BuildAllocations(entries, 10000);
  const uint64_t large = BuildAllocations(entries, 100000);
  // The directory's text, the list and the block.
  EXPECT_LE(large, 3u) << "10 entries: " << ten << ", 10,000: " << small;
  EXPECT_EQ(small, large);
  EXPECT_EQ(ten, large);
}

namespace {

using fileops::DropVerdict;
using fileops::MadeDropKind;

TEST(DropHandleVerdict, OnlyLiveBlocksOfThisProcessAreTakenAndFreed) {
  struct Case {
    const char* what;
    fileops::ReceivedDropFacts facts;
    DropVerdict want;
  } cases[] = {
      {"our block posted to ourselves", {MadeDropKind::kPosted, true, 64}, DropVerdict::kTake},
      {"the shell's block in this process", {MadeDropKind::kNotMade, true, 64},
       DropVerdict::kTake},
      {"the shell's block of just a header", {MadeDropKind::kNotMade, true, 20},
       DropVerdict::kTake},
      {"a value that is no block here", {MadeDropKind::kNotMade, false, 0}, DropVerdict::kRefuse},
      {"a block of ours already freed", {MadeDropKind::kPosted, false, 0}, DropVerdict::kRefuse},
      {"a block a data object of ours still owns", {MadeDropKind::kHeld, true, 64},
       DropVerdict::kRefuse},
      {"live memory smaller than a header", {MadeDropKind::kNotMade, true, 19},
       DropVerdict::kRefuse},
      {"live memory of no size", {MadeDropKind::kNotMade, true, 0}, DropVerdict::kRefuse},
      {"live memory larger than any drop", {MadeDropKind::kNotMade, true,
                                            fileops::kMaxDropBlockSize + 1},
       DropVerdict::kRefuse},
  };
  for (const Case& c : cases) EXPECT_EQ(fileops::JudgeReceivedDrop(c.facts), c.want) << c.what;
}

TEST(DropBlockSizeBound, NothingBeyondTheGivenSizeIsRead) {
  // A sound block in a larger buffer: given fewer bytes than the list needs, the reader must
  // refuse rather than find the terminators that lie beyond.
  const std::string list = fileops::JoinDropPaths({"C:\\a\\one.txt", "D:\\two.txt"});
  std::vector<uint8_t> whole(fileops::DropBlockSize(list) + 16, 0);
  fileops::WriteDropBlock(whole.data(), whole.size(), list, 3, 4, false);
  const size_t full = fileops::DropBlockSize(list);
  struct Case {
    size_t size;
    DropBlockError want;
    size_t count;
  } cases[] = {
      {full, DropBlockError::kNone, 2},
      {full + 16, DropBlockError::kNone, 2},
      {full - 1, DropBlockError::kUnterminated, 0},         // the list's final NUL outside
      {full - 2, DropBlockError::kUnterminated, 0},         // the second path's NUL outside
      {fileops::kDropHeaderSize + 5, DropBlockError::kUnterminated, 0},
      {fileops::kDropHeaderSize, DropBlockError::kBadOffset, 0},
      {fileops::kDropHeaderSize - 1, DropBlockError::kTooSmall, 0},
  };
  for (const Case& c : cases) {
    // A heap copy of exactly c.size bytes, so that the sanitizer sees any read past it.
    std::vector<uint8_t> exact(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.size));
    DropBlock out;
    EXPECT_EQ(fileops::ReadDropBlock(exact.data(), exact.size(), out), c.want) << c.size;
    EXPECT_EQ(out.Count(), c.count) << c.size;
  }
}

}  // namespace
