// Type-ahead: the next entry whose name begins with the typed character, wrapping, without
// regard to ASCII case; the view jumps only for an entry out of view; the selection rules of
// a move.
#include <gtest/gtest.h>

#include "table/key_binding.h"
#include "table/type_ahead.h"
#include "tests/unit/pane_input_test_support.h"

namespace {

using table::BINFO;

class TypeAheadTest : public inputtest::InputTest {
 protected:
  std::unique_ptr<table::Sorm> OpenNames(const std::vector<std::string>& names) {
    for (const std::string& n : names) MakeFile(n);
    SetKey("vmode", "1");
    view_.client = {300, 110};
    surface_.client = view_.client;
    auto t = Open();
    surface_.SetTable(t.get());
    return t;
  }
  std::string CursorName(const table::Sorm& t) { return t.cursor()->Data()->name; }
  bool Type(table::Sorm& t, char c, uint8_t mods = 0, uint32_t selectMode = 3) {
    return table::TypeAhead(t, &surface_, range_, selectMode, static_cast<unsigned char>(c), mods);
  }
  table::RangeState range_;
};

TEST_F(TypeAheadTest, RepeatedLetterVisitsEachMatchThenWraps) {
  auto t = OpenNames({"apple.txt", "Apricot.txt", "banana.txt", "avocado.txt", "cherry.txt"});
  ASSERT_EQ(CursorName(*t), "..");
  const char* expected[] = {"apple.txt", "Apricot.txt", "avocado.txt", "apple.txt"};
  for (const char* name : expected) {
    EXPECT_TRUE(Type(*t, 'a'));
    EXPECT_EQ(CursorName(*t), name);
  }
  EXPECT_TRUE(Type(*t, 'B'));
  EXPECT_EQ(CursorName(*t), "banana.txt");
  EXPECT_FALSE(Type(*t, 'z'));  // nothing begins with it
  EXPECT_EQ(CursorName(*t), "banana.txt");
  EXPECT_FALSE(Type(*t, 'b'));  // only the cursor itself begins with it
  EXPECT_FALSE(Type(*t, 'a', table::kModCtrl));
  EXPECT_EQ(CursorName(*t), "banana.txt");
}

TEST_F(TypeAheadTest, OnlySingleByteCharactersSearch) {
  auto t = OpenNames({"ｱｲｳ.txt", "日本.txt", "x.txt"});
  const std::string kana = "ｱｲｳ.txt";
  const std::string kanji = "日本.txt";
  EXPECT_TRUE(Type(*t, kana[0]));
  EXPECT_EQ(CursorName(*t), kana);
  EXPECT_FALSE(Type(*t, kanji[0]));  // a lead byte starts no search
  EXPECT_FALSE(Type(*t, '\t'));
  EXPECT_FALSE(Type(*t, '\x7F'));
  EXPECT_EQ(CursorName(*t), kana);
  EXPECT_TRUE(table::IsTypeAheadChar('a'));
  EXPECT_FALSE(table::IsTypeAheadChar(0x81));
}

TEST_F(TypeAheadTest, EntryInViewDrawsTheMarksAndOneOutOfViewMovesTheView) {
  std::vector<std::string> names;
  for (int k = 1; k <= 40; ++k) names.push_back(FileName(k));
  names.push_back("zeta.txt");
  names.push_back("gam.txt");
  auto t = OpenNames(names);
  ASSERT_EQ(t->metrics().perLine, 5);
  ASSERT_EQ(t->metrics().linesPerPage, 4);
  EXPECT_TRUE(Type(*t, 'f'));
  EXPECT_EQ(surface_.TakeRedrawn(), (std::vector<const BINFO*>{At(*t, 1), At(*t, 2)}));
  EXPECT_TRUE(surface_.scrolls.empty());
  EXPECT_TRUE(Type(*t, 'z'));
  BINFO* zeta = t->cursor();
  ASSERT_EQ(surface_.scrolls.size(), 1u);
  EXPECT_EQ(surface_.scrolls[0].first, table::kThumbTrack);
  EXPECT_EQ(t->origin().x, zeta->x);  // its column is the first in view
}

TEST_F(TypeAheadTest, AMoveEndsTheRangeAndClearsTheSelectionAsTheSelectModeSays) {
  struct Case {
    uint32_t mode;
    uint8_t mods;
    bool rangeKept;
    bool selectionKept;
  } cases[] = {
      {3, 0, false, false},
      {3, table::kModShift, true, true},
      {1, 0, false, true},
      {2, 0, true, false},
      {0, table::kModAlt, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << int(c.mods));
    auto t = OpenNames({"one.txt", "two.txt"});
    table::Select(*t, At(*t, 2), nullptr);
    range_.Begin(*t);
    ASSERT_TRUE(Type(*t, 't', c.mods, c.mode));
    EXPECT_EQ(range_.ActiveIn(*t), c.rangeKept);
    EXPECT_EQ(t->selectedCount() == 1, c.selectionKept);
    range_.Clear();
  }
}

TEST_F(TypeAheadTest, EmptyListFindsNothing) {
  auto t = OpenNames({"a.txt"});
  t->ClearEntries();
  EXPECT_FALSE(Type(*t, 'a'));
  EXPECT_EQ(table::FindTypeAhead(*t, t->cursor(), 'a'), nullptr);
}

}  // namespace

namespace {

// Feeds the bytes of character messages one by one; the whole characters that came out.
std::vector<std::string> Assemble(const std::string& bytes) {
  table::TypedCharacter typed;
  std::vector<std::string> out;
  for (char b : bytes) {
    std::string_view ch = typed.Feed(static_cast<unsigned char>(b));
    if (!ch.empty()) out.emplace_back(ch);
  }
  return out;
}

TEST(TypedCharacterTest, ADoubleByteCharacterComesOutWholeOnce) {
  const std::string katakanaA = "ア";  // 0x83 0x41: its trail byte is the letter "A"
  const std::string hyou = "表";       // 0x95 0x5C: its trail byte is a backslash
  struct Case {
    std::string bytes;
    std::vector<std::string> expected;
  } cases[] = {
      {"ab", {"a", "b"}},
      {katakanaA, {katakanaA}},
      {"x" + katakanaA + "y", {"x", katakanaA, "y"}},
      {hyou + hyou, {hyou, hyou}},
      {"ｱ", {"ｱ"}},                                          // half-width kana: one byte
      {std::string("\x83", 1), {}},                          // a lead byte alone waits
      {std::string("\x83\t", 2), {"\t"}},                    // no trail: the lead is dropped
      {std::string("\x83\x83\x41", 3), {std::string("\x83\x83", 2), "A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(Assemble(c.bytes), c.expected);
  }
}

class TypeAheadDoubleByteTest : public TypeAheadTest {
 protected:
  // Types the bytes as character messages; true when any of them moved the cursor.
  bool TypeBytes(table::Sorm& t, const std::string& bytes) {
    bool moved = false;
    for (char b : bytes) {
      std::string_view ch = typed_.Feed(static_cast<unsigned char>(b));
      if (!ch.empty() && table::TypeAhead(t, &surface_, range_, 3, ch, 0)) moved = true;
    }
    return moved;
  }
  table::TypedCharacter typed_;
};

TEST_F(TypeAheadDoubleByteTest, ADoubleByteCharacterNeverSearchesForItsTrailByte) {
  // ア is 0x83 0x41 and イ 0x83 0x43: their trail bytes are the letters A and C.
  auto t = OpenNames({"Alpha.txt", "アイ.txt", "Charlie.txt"});
  ASSERT_EQ(CursorName(*t), "..");
  EXPECT_TRUE(TypeBytes(*t, "ア"));
  EXPECT_EQ(CursorName(*t), "アイ.txt") << "the whole character, not the letter A";
  EXPECT_FALSE(TypeBytes(*t, "イ")) << "nothing begins with it";
  EXPECT_EQ(CursorName(*t), "アイ.txt") << "not Charlie.txt";
  EXPECT_EQ(table::FindTypeAhead(*t, t->cursor(), std::string_view("ア")), t->cursor())
      << "only the cursor itself begins with it";
  EXPECT_TRUE(TypeBytes(*t, "c"));
  EXPECT_EQ(CursorName(*t), "Charlie.txt");
}

}  // namespace
