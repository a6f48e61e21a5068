// Cursor movement: the sixteen kinds in both view modes as index arithmetic, the rules every
// kind keeps on many grids, and moves on real tables with what they draw and scroll.
#include <gtest/gtest.h>

#include <cstdlib>

#include "table/cursor_move.h"
#include "tests/unit/pane_input_test_support.h"

namespace {

using table::MoveGrid;
using table::MovePlan;
using table::MoveScroll;
using table::PlanMove;

struct PlanCase {
  const char* what;
  bool listMode;
  int kind;
  MoveGrid grid;  // index, count, perLine, linesPerPage, firstLine
  MovePlan want;
};

constexpr MoveScroll kShow = MoveScroll::kShow;
constexpr MoveScroll kStep = MoveScroll::kStep;
constexpr MoveScroll kBack = MoveScroll::kPageBack;
constexpr MoveScroll kFwd = MoveScroll::kPageForward;

// 30 entries, 4 to a line, 3 lines to a page: lines 0..7, the last holding 29 and 30.
MoveGrid G(int32_t index, int32_t firstLine = 0) { return MoveGrid{index, 30, 4, 3, firstLine}; }

const PlanCase kPlanCases[] = {
    // Icon mode: a line is a row.
    {"row up", false, 2, G(6), {2, kStep}},
    {"row up from the first row stays", false, 2, G(3), {3, kStep}},
    {"row down", false, 5, G(26), {30, kStep}},
    {"row down with less than a row after stays", false, 5, G(27), {27, kStep}},
    {"one back wraps to the row before", false, 8, G(5), {4, kStep}},
    {"one back at the first entry stays", false, 8, G(1), {1, kStep}},
    {"one forward at the last entry stays", false, 11, G(30), {30, kStep}},
    {"first of the row", false, 6, G(7), {5, kShow}},
    {"first of the row (7)", false, 7, G(8), {5, kShow}},
    {"last of the row", false, 9, G(6), {8, kShow}},
    {"last of the short last row", false, 10, G(29), {30, kShow}},
    {"top row of the page", false, 1, G(18, 2), {10, kShow}},
    {"top row when already there", false, 1, G(10, 2), {10, kShow}},
    {"top row from above the page stays", false, 1, G(3, 2), {3, kShow}},
    {"bottom row of the page", false, 4, G(10, 2), {18, kShow}},
    {"bottom row stops at the last full step", false, 4, G(24, 5), {28, kShow}},
    {"bottom row reaches the short last row", false, 4, G(22, 5), {30, kShow}},
    {"page back", false, 0, G(30), {18, kBack}},
    {"page back with less than a page before goes to the first", false, 14, G(6), {1, kBack}},
    {"page back from the first row goes to the first", false, 0, G(3), {1, kBack}},
    {"page back at the first entry stays", false, 0, G(1), {1, kBack}},
    {"page back by exactly a page", false, 0, G(13), {1, kBack}},
    {"page forward", false, 3, G(1), {13, kFwd}},
    {"page forward by exactly a page", false, 3, G(18), {30, kFwd}},
    {"page forward with less than a page left goes to the last", false, 15, G(20), {30, kFwd}},
    {"page forward from the last full row goes to the last", false, 15, G(28), {30, kFwd}},
    {"page forward at the last entry stays", false, 3, G(30), {30, kFwd}},
    {"one back (12)", false, 12, G(9), {8, kStep}},
    {"one forward (13)", false, 13, G(9), {10, kStep}},
    {"kind 16 does not move", false, 16, G(9), {9, kShow}},
    {"kind 23 does not move", false, 23, G(9), {9, kShow}},
    {"kind -1 does not move", false, -1, G(9), {9, kShow}},
    // List mode: a line is a column.
    {"list: first of the column", true, 0, G(7), {5, kShow}},
    {"list: first of the column (1)", true, 1, G(8), {5, kShow}},
    {"list: one back", true, 2, G(5), {4, kStep}},
    {"list: one back at the first entry stays", true, 2, G(1), {1, kStep}},
    {"list: last of the column", true, 3, G(5), {8, kShow}},
    {"list: last of the short last column", true, 4, G(29), {30, kShow}},
    {"list: one forward", true, 5, G(8), {9, kStep}},
    {"list: one forward at the last entry stays", true, 5, G(30), {30, kStep}},
    {"list: page back", true, 6, G(30), {18, kBack}},
    {"list: leftmost column of the page", true, 7, G(19, 2), {11, kShow}},
    {"list: column left", true, 8, G(7), {3, kStep}},
    {"list: column left from the first column stays", true, 8, G(3), {3, kStep}},
    {"list: page forward", true, 9, G(2), {14, kFwd}},
    {"list: rightmost column of the page", true, 10, G(11, 2), {19, kShow}},
    {"list: column right", true, 11, G(26), {30, kStep}},
    {"list: column right with less than a column after stays", true, 11, G(27), {27, kStep}},
    {"list: page back (14)", true, 14, G(14), {2, kBack}},
    {"list: page back with less than a page before goes to the first", true, 6, G(7), {1, kBack}},
    {"list: page back at the first entry stays", true, 14, G(1), {1, kBack}},
    {"list: page forward with less than a page left goes to the last", true, 9, G(20), {30, kFwd}},
    {"list: page forward from the last column goes to the last", true, 15, G(29), {30, kFwd}},
    {"list: page forward at the last entry stays", true, 9, G(30), {30, kFwd}},
    // Degenerate grids.
    {"one entry", false, 5, MoveGrid{1, 1, 1, 1, 0}, {1, kStep}},
    {"one entry, page", true, 15, MoveGrid{1, 1, 1, 1, 0}, {1, kFwd}},
    {"one to a line: row down is one forward", false, 5, MoveGrid{3, 9, 1, 4, 0}, {4, kStep}},
    {"index past the list does not move", false, 13, MoveGrid{40, 30, 4, 3, 0}, {40, kShow}},
};

TEST(CursorMovePlan, KindsOfBothModes) {
  for (const PlanCase& c : kPlanCases) {
    EXPECT_EQ(PlanMove(c.kind, c.listMode, c.grid), c.want) << c.what;
  }
}

// The rules every move keeps, checked over many grids, every index and every kind.
TEST(CursorMovePlan, RulesHoldOnEveryGrid) {
  const int32_t perLines[] = {1, 3, 4, 7};
  const int32_t pages[] = {1, 2, 5};
  for (int32_t n : perLines) {
    for (int32_t l : pages) {
      for (int32_t count : {1, n * l - 1, n * l, 3 * n * l + 2}) {
        if (count < 1) continue;
        for (int32_t first : {0, 2}) {
          for (bool list : {false, true}) {
            for (int32_t i = 1; i <= count; ++i) {
              for (int kind = 0; kind < 24; ++kind) {
                MoveGrid g{i, count, n, l, first};
                MovePlan p = PlanMove(kind, list, g);
                SCOPED_TRACE(testing::Message() << "N=" << n << " L=" << l << " count=" << count
                                                << " first=" << first << " list=" << list
                                                << " i=" << i << " kind=" << kind);
                ASSERT_GE(p.target, 1);
                ASSERT_LE(p.target, count);
                const int32_t delta = p.target - i;
                if (kind >= 16) {
                  ASSERT_EQ(delta, 0);
                } else if (p.scroll == MoveScroll::kPageBack ||
                           p.scroll == MoveScroll::kPageForward) {
                  // L whole lines in the page's direction; the first or the last entry
                  // when less than a page is left.
                  const int32_t dir = p.scroll == MoveScroll::kPageForward ? 1 : -1;
                  const int64_t fullPage = static_cast<int64_t>(i) + dir * n * l;
                  ASSERT_GE(delta * dir, 0);
                  if (fullPage >= 1 && fullPage <= count)
                    ASSERT_EQ(delta, dir * n * l);
                  else
                    ASSERT_EQ(p.target, dir > 0 ? count : 1);
                } else if (p.scroll == MoveScroll::kStep) {
                  // One entry or one whole line, or nothing when that would leave the list.
                  ASSERT_TRUE(std::abs(delta) <= 1 || std::abs(delta) == n);
                } else {
                  // Moves inside one line, or along the column of the cursor.
                  const bool sameLine = (p.target - 1) / n == (i - 1) / n;
                  ASSERT_TRUE(sameLine || delta % n == 0);
                }
              }
            }
          }
        }
      }
    }
  }
}

TEST(CursorMovePlan, ScrollToShowStepsOneLineOrJumps) {
  struct Case {
    int32_t line, first, pageLines;
    std::optional<table::ScrollRequest> want;
  } cases[] = {
      {3, 2, 3, std::nullopt},
      {4, 2, 3, std::nullopt},
      {1, 2, 3, table::ScrollRequest{table::kLineBack, 0}},
      {5, 2, 3, table::ScrollRequest{table::kLineForward, 0}},
      {0, 4, 3, table::ScrollRequest{table::kThumbTrack, 0}},
      {9, 2, 3, table::ScrollRequest{table::kThumbTrack, 7}},
      {0, 0, 0, std::nullopt},  // a page of no lines counts as one
  };
  for (const Case& c : cases) {
    EXPECT_EQ(table::ScrollToShow(c.line, c.first, c.pageLines), c.want)
        << c.line << " " << c.first << " " << c.pageLines;
  }
}

TEST(CursorMovePlan, FirstWholeLineRoundsUpAPartLine) {
  EXPECT_EQ(table::FirstWholeLine(0, 80), 0);
  EXPECT_EQ(table::FirstWholeLine(160, 80), 2);
  EXPECT_EQ(table::FirstWholeLine(161, 80), 3);
  EXPECT_EQ(table::FirstWholeLine(-5, 80), 0);
  EXPECT_EQ(table::FirstWholeLine(100, 0), 0);
}

class CursorMoveTest : public inputtest::InputTest {};

TEST_F(CursorMoveTest, IconModeRowDownDrawsOnlyTheTwoEntriesAndScrollsALineAtTheEdge) {
  auto t = OpenWith(39, false, 420, 250);  // 40 entries
  ASSERT_EQ(t->metrics().perLine, 4);
  ASSERT_EQ(t->metrics().linesPerPage, 3);
  table::RangeState none;
  ASSERT_EQ(table::CursorIndex(*t), 1);
  EXPECT_TRUE(table::MoveCursor(*t, 5, none, &surface_));
  EXPECT_EQ(table::CursorIndex(*t), 5);
  EXPECT_EQ(surface_.TakeRedrawn(), (std::vector<const table::BINFO*>{At(*t, 1), At(*t, 5)}));
  EXPECT_TRUE(surface_.scrolls.empty());

  EXPECT_TRUE(table::MoveCursor(*t, 5, none, &surface_));  // row 2, the last in view
  EXPECT_TRUE(surface_.scrolls.empty());
  EXPECT_TRUE(table::MoveCursor(*t, 5, none, &surface_));  // row 3: one line of scrolling
  EXPECT_EQ(table::CursorIndex(*t), 13);
  ASSERT_EQ(surface_.scrolls.size(), 1u);
  EXPECT_EQ(surface_.scrolls[0].first, table::kLineForward);
  EXPECT_EQ(t->origin().y, t->metrics().cellHeight);
}

TEST_F(CursorMoveTest, PageMoveThatStopsShortOfAPageKeepsTheCursorInView) {
  // List mode, 5 entries to a column and 4 columns to a page; 21 entries make five columns,
  // the last holding one entry. From the foot of the first column less than a page is left: the
  // page forward goes to the last entry, while the view may scroll a whole page.
  auto t = OpenWith(20, true, 300, 110);
  ASSERT_EQ(t->metrics().perLine, 5);
  ASSERT_EQ(t->metrics().linesPerPage, 4);
  t->SetCursor(At(*t, 5));
  table::RangeState none;
  EXPECT_TRUE(table::MoveCursor(*t, 15, none, &surface_));
  EXPECT_EQ(table::CursorIndex(*t), 21);
  const int32_t cell = t->metrics().cellWidth;
  const int32_t cursorX = At(*t, 21)->x;
  EXPECT_GE(cursorX, t->origin().x);
  EXPECT_LE(cursorX + cell, t->origin().x + cell * 4);
  ASSERT_GE(surface_.scrolls.size(), 1u);
  EXPECT_EQ(surface_.scrolls[0].first, table::kPageForward);
}

TEST_F(CursorMoveTest, PageMovesReachTheFirstAndLastEntryInBothModes) {
  // 40 entries; icon mode 4 to a row and 3 rows to a page, list mode 5 to a column and 4
  // columns to a page. Page Up and Page Down are kinds 0 and 3 in icon mode, 6 and 9 in list
  // mode; kinds 14 and 15 are the same moves in both.
  struct Case {
    const char* what;
    bool list;
    int32_t from;
    int kind;
    int32_t want;
  } cases[] = {
      {"icon: a whole page forward", false, 20, 3, 32},
      {"icon: less than a page left", false, 30, 3, 40},
      {"icon: less than a page left (15)", false, 29, 15, 40},
      {"icon: a whole page back", false, 20, 0, 8},
      {"icon: less than a page before", false, 11, 0, 1},
      {"icon: less than a page before (14)", false, 4, 14, 1},
      {"list: a whole page forward", true, 12, 9, 32},
      {"list: less than a page left", true, 22, 9, 40},
      {"list: less than a page left (15)", true, 36, 15, 40},
      {"list: a whole page back", true, 33, 6, 13},
      {"list: less than a page before", true, 19, 6, 1},
      {"list: less than a page before (14)", true, 2, 14, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto t = c.list ? OpenWith(39, true, 300, 110) : OpenWith(39, false, 420, 250);
    ASSERT_EQ(t->metrics().perLine, c.list ? 5 : 4);
    ASSERT_EQ(t->metrics().linesPerPage, c.list ? 4 : 3);
    t->SetCursor(At(*t, c.from));
    table::RangeState none;
    EXPECT_TRUE(table::MoveCursor(*t, c.kind, none, &surface_));
    EXPECT_EQ(table::CursorIndex(*t), c.want);
    const table::MoveGrid g = table::GridOf(*t);
    const int32_t line = table::LineOf(c.want, g.perLine);
    EXPECT_GE(line, g.firstLine) << "the cursor stays in view";
    EXPECT_LT(line, g.firstLine + g.linesPerPage) << "the cursor stays in view";
  }
}

TEST_F(CursorMoveTest, MoveFromACursorScrolledOutOfSightBringsItBack) {
  auto t = OpenWith(39, false, 420, 250);
  t->SetOrigin({0, t->metrics().cellHeight * 6});  // rows 6..8 in view, the cursor in row 0
  table::RangeState none;
  EXPECT_TRUE(table::MoveCursor(*t, 13, none, &surface_));
  EXPECT_EQ(table::CursorIndex(*t), 2);
  EXPECT_EQ(t->origin().y, 0);
}

TEST_F(CursorMoveTest, PositionsFollowTheIndexRuleInBothModes) {
  for (bool list : {false, true}) {
    SCOPED_TRACE(list);
    auto t = OpenWith(23, list, 420, 250);
    const table::LayoutMetrics& m = t->metrics();
    for (table::BINFO* e : t->Entries()) {
      const int32_t line = table::LineOf(e->index, m.perLine);
      EXPECT_EQ(list ? e->x : e->y, line * (list ? m.cellWidth : m.cellHeight)) << e->index;
    }
  }
}

TEST_F(CursorMoveTest, EmptyListDoesNotMove) {
  auto t = OpenWith(3, true, 300, 110);
  t->ClearEntries();
  table::RangeState none;
  for (int kind = 0; kind < 16; ++kind) EXPECT_FALSE(table::MoveCursor(*t, kind, none, &surface_));
  EXPECT_TRUE(surface_.redrawn.empty());
  EXPECT_TRUE(surface_.scrolls.empty());
}

}  // namespace
