// CP932 helpers: every search for "\" or "|" must step over the trail byte of 表, ソ, 能.
#include "os/mbcs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// 表 = 95 5C, ソ = 83 5C, 能 = 94 5C, 十 = 8F 5C, ｱ = B1 (single-byte katakana).
constexpr char kHyo[] = "\x95\x5C";
constexpr char kSo[] = "\x83\x5C";

TEST(MbcsTest, LeadByteRanges) {
  struct Case {
    unsigned char byte;
    bool lead;
  } cases[] = {{0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false}, {0xB1, false},
               {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false}, {0x5C, false}};
  for (const Case& c : cases) EXPECT_EQ(mbcs::IsLeadByte(c.byte), c.lead) << std::hex << +c.byte;
}

TEST(MbcsTest, NextStepsOverWholeCharacters) {
  struct Case {
    const char* text;
    std::size_t step;
  } cases[] = {
      {"\x95\x5C" "a", 2},  // 表: trail byte is "\"
      {"\x83\x5C", 2},      // ソ
      {"\x94\x7C", 2},      // a trail byte "|"
      {"\xB1" "a", 1},      // half-width katakana is one byte
      {"a\x95\x5C", 1},
      {"\x95", 1},          // lead byte before the terminator
      {"", 0},              // at the terminator: stays put
  };
  for (const Case& c : cases)
    EXPECT_EQ(mbcs::Next(c.text) - c.text, static_cast<std::ptrdiff_t>(c.step)) << c.text;
}

TEST(MbcsTest, PrevFindsTheStartOfTheCharacterBefore) {
  const char text[] = "a\x95\x5C\x83\x5C" "b";  // a 表 ソ b
  struct Case {
    std::size_t from, expect;
  } cases[] = {{0, 0}, {1, 0}, {3, 1}, {5, 3}, {6, 5}};
  for (const Case& c : cases)
    EXPECT_EQ(mbcs::Prev(text, text + c.from) - text, static_cast<std::ptrdiff_t>(c.expect))
        << "from " << c.from;
  // A pointer into the middle of a character moves to that character's start.
  EXPECT_EQ(mbcs::Prev(text, text + 2) - text, 1);
}

TEST(MbcsTest, FindCharNeverMatchesATrailByte) {
  struct Case {
    const char* text;
    char c;
    int first, last;  // -1: not found
  } cases[] = {
      {"\x95\x5C", '\\', -1, -1},                     // 表 alone
      {"C:\\\x95\x5C\\x", '\\', 2, 5},                // C:\表\x
      {"\x83\x5C\x94\x5C", '\\', -1, -1},             // ソ能
      {"a|\x94\x7C|", '|', 1, 4},                     // trail "|" skipped
      {"\x95\x5C.txt", '.', 2, 2},
      {"abc", 'z', -1, -1},
  };
  for (const Case& c : cases) {
    const char* f = mbcs::FindChar(c.text, c.c);
    const char* l = mbcs::FindLastChar(c.text, c.c);
    EXPECT_EQ(f ? f - c.text : -1, c.first) << c.text;
    EXPECT_EQ(l ? l - c.text : -1, c.last) << c.text;
  }
}

TEST(MbcsTest, FindNulReturnsTheTerminator) {
  const char text[] = "\x95\x5C" "ab";
  EXPECT_EQ(mbcs::FindChar(text, '\0'), text + 4);
  EXPECT_EQ(mbcs::FindLastChar(text, '\0'), text + 4);
  // A lead byte just before the terminator is a character of its own.
  const char lone[] = "a\x95";
  EXPECT_EQ(mbcs::FindLastChar(lone, '\0'), lone + 2);
  EXPECT_EQ(mbcs::FindChar(lone, '\x95'), lone + 1);
}

TEST(MbcsTest, IsTrailByteAt) {
  const char text[] = "x\x95\x5C\xB1\x83\x5C";  // x 表 ｱ ソ
  const bool expect[] = {false, false, true, false, false, true, false};
  for (std::size_t i = 0; i < sizeof(expect); ++i)
    EXPECT_EQ(mbcs::IsTrailByteAt(text, i), expect[i]) << "index " << i;
}

TEST(MbcsTest, CopyBoundedNeverSplitsACharacter) {
  struct Case {
    const char* src;
    std::size_t size;
    const char* expect;
  } cases[] = {
      {"ab\x95\x5C", 5, "ab\x95\x5C"},  // fits exactly
      {"ab\x95\x5C", 4, "ab"},          // 表 would need bytes 2 and 3 plus the terminator
      {"ab\x95\x5C", 3, "ab"},
      {"\x95\x5C\x83\x5C", 4, "\x95\x5C"},
      {"abc", 1, ""},
      {"a\x95", 3, "a\x95"},            // a lone lead byte is copied as one character
  };
  for (const Case& c : cases) {
    char buf[16];
    std::memset(buf, '#', sizeof(buf));
    std::size_t n = mbcs::CopyBounded(buf, c.size, c.src);
    EXPECT_STREQ(buf, c.expect) << c.src << " size " << c.size;
    EXPECT_EQ(n, std::strlen(c.expect));
    EXPECT_EQ(buf[c.size], '#') << "wrote past the bound";
  }
  char untouched = '#';
  EXPECT_EQ(mbcs::CopyBounded(&untouched, 0, "abc"), 0u);
  EXPECT_EQ(untouched, '#');
}

TEST(MbcsTest, Utf8LiteralsBecomeCp932) {
  // The build turns narrow literals into CP932, so "表" is the two bytes with a "\" trail.
  EXPECT_EQ(std::string("表"), std::string(kHyo));
  EXPECT_EQ(std::string("ソ"), std::string(kSo));
  const char path[] = "表\\";
  EXPECT_EQ(mbcs::FindChar(path, '\\') - path, 2);
}

}  // namespace
