// Layout arithmetic of a file table: cell metrics, text lines, positions, scroll extents.
// Text is measured by a fixed measurer: 6 pixels per single-byte character, height 12; icons
// are 32 pixels large and 16 small; the client area is 400 x 300.
#include <gtest/gtest.h>

#include "table/layout_math.h"
#include "tests/unit/table_test_support.h"

namespace {

using table::BINFO;
using table::LayoutMetrics;
using table::Point;
using tabletest::TableTest;

std::vector<std::string> LineTexts(const BINFO* e) {
  std::vector<std::string> out;
  const BINFO* first = e->FirstChildNode();
  const BINFO* c = first;
  do {
    out.emplace_back(c->text, c->textLength);
    c = c->NextNode();
  } while (c != first);
  return out;
}

class LayoutTest : public TableTest {};

const char kLongWords[] = "aaaa bbbb cccc dddd eeee ffff gggg hhhh";

TEST_F(LayoutTest, IconModeWrapsWideNamesAtBlanksAndGrowsEveryCell) {
  MakeFile(kLongWords);
  MakeFile("a.txt");
  auto t = Open();
  BINFO* wide = Entry(*t, kLongWords);
  EXPECT_EQ(LineTexts(wide),
            (std::vector<std::string>{"aaaa bbbb cccc", "dddd eeee ffff", "gggg hhhh"}));
  const BINFO* first = wide->FirstChildNode();
  EXPECT_EQ(first->labelStyle, table::kLabelWrapped);
  EXPECT_EQ(first->width, 84);
  EXPECT_EQ(first->NextNode()->y, first->y + 12);
  EXPECT_EQ(first->y, wide->y + 38 + 1);
  BINFO* small = Entry(*t, "a.txt");
  EXPECT_EQ(LineTexts(small), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(small->FirstChildNode()->labelStyle, table::kLabelSingle);

  const LayoutMetrics& m = t->metrics();
  EXPECT_EQ(m.entryWidth, 38);
  EXPECT_EQ(m.entryHeight, 38);
  EXPECT_EQ(m.cellHeight, 38 + 3 * 12 + 17);  // 91, for every cell
  EXPECT_EQ(m.cellWidth, 90 + 8);
  EXPECT_EQ(m.perLine, (400 - 16) / 98);
  EXPECT_EQ(m.linesPerPage, 300 / 91);
}

TEST_F(LayoutTest, IconModeWithoutAutoAdjustKeepsTheSpacing) {
  MakeFile(kLongWords);
  SetKey("auto_adjust", "0");
  auto t = Open();
  const LayoutMetrics& m = t->metrics();
  EXPECT_EQ(m.cellWidth, 90);
  EXPECT_EQ(m.cellHeight, 80);
  EXPECT_EQ(m.perLine, 400 / 90);
  EXPECT_EQ(LineTexts(Entry(*t, kLongWords)).size(), 3u);  // names may run into the next row
}

TEST_F(LayoutTest, OneWordWiderThanTheSpacingIsNotWrapped) {
  std::string word(30, 'w');
  MakeFile(word);
  auto t = Open();
  EXPECT_EQ(LineTexts(Entry(*t, word)), std::vector<std::string>{word});
  EXPECT_EQ(t->metrics().cellWidth, 180 + 8);
  EXPECT_EQ(t->metrics().perLine, 384 / 188);
}

TEST_F(LayoutTest, IconModeExtraLinesStackUnderTheName) {
  MakeFile("f.txt", 12);
  ASSERT_TRUE(tabletest::SetWriteTime(dir_.Path("f.txt"),
                                      tabletest::LocalFileTime(2005, 3, 7, 8, 9, 10)));
  SetKey("vinfo", "15");
  auto t = Open();
  BINFO* e = Entry(*t, "f.txt");
  EXPECT_EQ(LineTexts(e), (std::vector<std::string>{"f.txt", "12 Bytes", "05/03/07", "08:09:10",
                                                    "A"}));
  int32_t y = e->y + e->height + 1;
  const BINFO* c = e->FirstChildNode();
  for (int i = 0; i < 5; ++i, c = c->NextNode()) {
    EXPECT_EQ(c->x, e->x);
    EXPECT_EQ(c->y, y);
    y += c->height;
  }
  EXPECT_EQ(t->metrics().cellHeight, 38 + 5 * 12 + 1);
  EXPECT_EQ(Entry(*t, "..")->FirstChildNode()->NextNode()->text, std::string("<DIR>"));
}

TEST_F(LayoutTest, ListModeColumns) {
  MakeDir("sub");
  MakeFile("longer-name.txt", 123);
  ASSERT_TRUE(tabletest::SetWriteTime(dir_.Path("longer-name.txt"),
                                      tabletest::LocalFileTime(1999, 12, 31, 23, 59, 58)));
  SetKey("vmode", "1");
  SetKey("vinfo", "15");
  auto t = Open();
  const LayoutMetrics& m = t->metrics();
  BINFO* file = Entry(*t, "longer-name.txt");
  BINFO* sub = Entry(*t, "sub");
  EXPECT_EQ(LineTexts(file), (std::vector<std::string>{"longer-name.txt", "           123",
                                                       " 99/12/31", " 23:59:58", " A"}));
  EXPECT_EQ(LineTexts(sub)[1], "         <DIR>");
  EXPECT_EQ(m.columns[table::kNameColumn], 15 * 6 + 3);
  EXPECT_EQ(m.columns[table::kSizeColumn], 14 * 6);
  EXPECT_EQ(m.columns[table::kDateColumn], 9 * 6);
  EXPECT_EQ(m.columns[table::kTimeColumn], 9 * 6);
  EXPECT_EQ(m.cellWidth, 16 + 93 + 84 + 54 + 54 + m.columns[table::kAttrColumn] + 8);
  EXPECT_EQ(m.cellHeight, 16 + 6);  // small icon taller than the text
  EXPECT_EQ(m.textOffset, (22 - 12) / 2);
  EXPECT_EQ(m.perLine, 300 / 22);
  EXPECT_EQ(m.linesPerPage, 400 / m.cellWidth);

  const BINFO* name = file->FirstChildNode();
  EXPECT_EQ(name->labelStyle, table::kLabelList);
  EXPECT_EQ(name->x, file->x + 16 + 5);
  EXPECT_EQ(name->y, file->y + m.textOffset);
  EXPECT_EQ(name->width, 93);
  EXPECT_EQ(file->width, 93 + 16 + 5);
  EXPECT_EQ(file->height, 22);
  const int32_t sizeEnd = name->x + 93 + 84;
  const BINFO* size = name->NextNode();
  EXPECT_EQ(size->x, sizeEnd - 84);  // right-aligned, then no width of its own
  EXPECT_EQ(size->width, 0);
  EXPECT_EQ(size->NextNode()->x, sizeEnd);
  EXPECT_EQ(size->NextNode()->NextNode()->x, sizeEnd + 54);
  EXPECT_EQ(size->NextNode()->NextNode()->NextNode()->x, sizeEnd + 108);
  // Column by column: the entries follow each other downwards.
  EXPECT_EQ(Entry(*t, "..")->y, 0);
  EXPECT_EQ(sub->y, 22);
  EXPECT_EQ(file->y, 44);
}

TEST_F(LayoutTest, ListModeWithTallTextCentresOnTheText) {
  MakeFile("a");
  SetKey("vmode", "1");
  view_.icons.smallWidth = 8;
  auto t = Open();
  EXPECT_EQ(t->metrics().cellHeight, 12 + 6);
  EXPECT_EQ(t->metrics().textOffset, 3);
}

TEST_F(LayoutTest, EmptyListIsOneCellWithHiddenBars) {
  for (const char* vmode : {"0", "1"}) {
    SCOPED_TRACE(vmode);
    SetKey("vmode", vmode);
    auto t = Open();
    t->ClearEntries();
    view_.bars.clear();
    t->Layout();
    const LayoutMetrics& m = t->metrics();
    bool list = vmode[0] == '1';
    EXPECT_EQ(list ? t->extentWidth() : t->extentHeight(), list ? m.cellWidth : m.cellHeight);
    ASSERT_EQ(view_.bars.size(), 1u);
    const table::ScrollBars& b = view_.bars[0];
    EXPECT_EQ(list ? b.horizontalMax : b.verticalMax, 0);
    EXPECT_EQ(list ? b.verticalMin : b.horizontalMin, 1);
    EXPECT_EQ(list ? b.verticalMax : b.horizontalMax, 1);
    EXPECT_EQ(t->origin(), (Point{0, 0}));
  }
}

TEST_F(LayoutTest, ScrollExtentAndRangeInIconMode) {
  for (int i = 0; i < 40; ++i) MakeFile("f" + std::to_string(10 + i));
  auto t = Open();
  const LayoutMetrics& m = t->metrics();
  ASSERT_EQ(m.perLine, 3);
  const int rows = (41 + 2) / 3;
  EXPECT_EQ(t->extentHeight(), rows * m.cellHeight);
  EXPECT_EQ(t->extentWidth(), 400);
  EXPECT_EQ(view_.bars.back().verticalMax, rows - m.linesPerPage);
  EXPECT_EQ(view_.bars.back().horizontalMin, 1);
  // Positions follow the advance rule.
  Point p = table::StartPosition(false);
  for (BINFO* e = t->FirstEntry(); e != t->sentinel(); e = e->NextNode()) {
    EXPECT_EQ((Point{e->x, e->y}), p) << e->Data()->name;
    p = table::AdvancePosition(p, false, m);
  }
}

TEST_F(LayoutTest, RelayoutAfterResizeMeasuresNothing) {
  for (int i = 0; i < 40; ++i) MakeFile("file number " + std::to_string(10 + i) + ".txt");
  SetKey("vinfo", "15");
  auto t = Open();
  view_.measurer.calls = 0;
  int releases = view_.measurer.releases;
  view_.client = table::ClientSize{700, 200};
  EXPECT_EQ(t->Layout(), 1);  // more entries per row
  EXPECT_EQ(view_.measurer.calls, 0);
  EXPECT_EQ(view_.measurer.releases, releases);
  EXPECT_EQ(t->Layout(), 0);  // nothing changed
  t->Sort(table::kSortLargest, false);
  t->Sort(table::kSortName, false);
  EXPECT_EQ(view_.measurer.calls, 0);
  // A new font, or other lines, are measured again.
  t->TextMetricsChanged();
  t->Layout();
  EXPECT_GT(view_.measurer.calls, 0);
  view_.measurer.calls = 0;
  t->SetViewInfo(0);
  t->Layout();
  EXPECT_GT(view_.measurer.calls, 0);
  EXPECT_EQ(Entry(*t, "..")->FirstChildNode()->NextNode(), Entry(*t, "..")->FirstChildNode());
}

TEST_F(LayoutTest, LayoutReportsAMovedOrigin) {
  for (int i = 0; i < 40; ++i) MakeFile("f" + std::to_string(10 + i));
  auto t = Open();
  BINFO* e = t->EntryAt(30);
  t->SetOrigin(Point{0, e->y});
  EXPECT_EQ(t->Layout(), 0);  // a row start stays where it is
  EXPECT_EQ(t->origin().y, e->y);
  view_.client = table::ClientSize{400, 3000};  // everything fits: back to the top
  EXPECT_EQ(t->Layout(), 1);
  EXPECT_EQ(t->origin(), (Point{0, 0}));
}

TEST(LayoutMathTest, AdvanceRule) {
  LayoutMetrics m;
  m.cellWidth = 100;
  m.cellHeight = 20;
  m.perLine = 3;
  struct Case {
    bool list;
    Point from;
    Point to;
  } cases[] = {
      {false, {16, 0}, {116, 0}},   {false, {116, 0}, {216, 0}},
      {false, {216, 0}, {16, 20}},  // 316 > 3 * 100 - 24
      {true, {0, 0}, {0, 20}},      {true, {0, 20}, {0, 40}},
      {true, {0, 40}, {100, 0}},    // 60 > 20 * 2 + 1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table::AdvancePosition(c.from, c.list, m), c.to) << c.from.x << "," << c.from.y;
  }
  EXPECT_EQ(table::StartPosition(false), (Point{16, 0}));
  EXPECT_EQ(table::StartPosition(true), (Point{0, 0}));
}

// The widest spacing on a listing of millions of entries: rows (icon view) and columns (list
// view) stop at the last coordinate instead of wrapping round to negative ones.
TEST(LayoutMathTest, PositionsStopAtTheLastCoordinate) {
  LayoutMetrics m;
  m.cellWidth = table::kMaxIconSpacing;
  m.cellHeight = table::kMaxIconSpacing;
  m.perLine = 1;
  const int32_t last = table::kMaxLayoutCoordinate;
  struct Case {
    bool list;
    Point from;
    Point to;
  } cases[] = {
      {false, {16, last - 10}, {16, last}},
      {false, {16, last}, {16, last}},
      {true, {last - 10, 0}, {last, 0}},
      {true, {last, 0}, {last, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(table::AdvancePosition(c.from, c.list, m), c.to) << c.from.x << "," << c.from.y;
  // Two million entries one per row all land on rows that grow, then stay.
  Point p = table::StartPosition(false);
  int32_t previous = -1;
  for (int i = 0; i < 2'000'000; ++i) {
    p = table::AdvancePosition(p, false, m);
    ASSERT_GE(p.y, previous) << i;
    previous = p.y;
  }
  EXPECT_EQ(p.y, last);
}

TEST(LayoutMathTest, ScrollSteps) {
  // extent 1000, client 300, cell 50, 6 lines per page.
  struct Case {
    int kind;
    int32_t position;
    int32_t origin;
    bool moves;
    int32_t to;
    bool line;
  } cases[] = {
      {table::kLineForward, 0, 0, true, 50, true},
      {table::kLineForward, 0, 700, false, 700, false},  // at the end: nothing
      {table::kPageForward, 0, 650, true, 950, false},   // may pass the last full page
      {table::kLineBack, 0, 0, false, 0, false},
      {table::kLineBack, 0, 30, true, 0, true},           // stops at 0
      {table::kPageBack, 0, 200, true, 0, false},
      {table::kPageBack, 0, 500, true, 200, false},
      {table::kThumbTrack, 4, 0, true, 200, false},
      {4, 9, 100, false, 100, false},                     // the final thumb position: nothing
      {7, 0, 100, false, 100, false},
  };
  for (const auto& c : cases) {
    table::ScrollMove mv = table::ComputeScroll(c.kind, c.position, c.origin, 1000, 300, 50, 6);
    EXPECT_EQ(mv.moves, c.moves) << c.kind << " " << c.origin;
    EXPECT_EQ(mv.origin, c.to) << c.kind << " " << c.origin;
    EXPECT_EQ(mv.lineStep, c.line) << c.kind << " " << c.origin;
  }
  EXPECT_EQ(table::ScrollBarPosition(-10, 50), 0);
  EXPECT_EQ(table::ScrollBarPosition(120, 50), 2);
  EXPECT_EQ(table::ScrollBarPosition(120, 0), 0);
}

}  // namespace
