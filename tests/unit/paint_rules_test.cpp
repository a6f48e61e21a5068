// Rules of painting a pane: colours by attribute and selection, the marks and frames an entry
// gets, placeholder icons, the entries a rectangle shows and the background around them.
#include "frame/paint_rules.h"

#include <gtest/gtest.h>

#include <random>

#include "resources/resource_ids.h"
#include "tests/unit/table_test_support.h"

namespace {

using frame::ColourRole;
using frame::IconRole;
using frame::Rect;
using frame::Rgb;
using frame::TextColours;

// Every colour different, so that a colour taken for another shows.
frame::PaneSettings Colours() {
  frame::PaneSettings s;
  s.text = Rgb{1, 1, 1};
  s.background = Rgb{2, 2, 2};
  s.system = Rgb{3, 3, 3};
  s.hidden = Rgb{4, 4, 4};
  s.readOnly = Rgb{5, 5, 5};
  s.selected = Rgb{6, 6, 6};
  s.focus = Rgb{7, 7, 7};
  return s;
}

TEST(PaintRulesTest, AttributeColourPrecedence) {
  const frame::PaneSettings s = Colours();
  struct Case {
    uint32_t attributes;
    Rgb expected;
  } cases[] = {
      {0x00, s.text},     {0x20, s.text},     {0x10, s.text},    {0x01, s.readOnly},
      {0x21, s.readOnly}, {0x02, s.hidden},   {0x03, s.hidden},  {0x04, s.system},
      {0x05, s.system},   {0x06, s.system},   {0x07, s.system},  {0x37, s.system},
      {0x12, s.hidden},   {0x11, s.readOnly},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    EXPECT_EQ(frame::AttributeColour(c.attributes, s), c.expected);
  }
}

TEST(PaintRulesTest, EntryTextColoursByModeAndSelection) {
  const frame::PaneSettings s = Colours();
  const uint32_t hidden = 0x02;
  struct Case {
    bool selected;
    int mode;
    TextColours expected;
  } cases[] = {
      {false, 2, {true, s.background, s.focus}},
      {false, 3, {true, s.hidden, s.background}},
      {false, 4, {true, s.background, s.selected}},
      {false, 5, {true, s.hidden, s.background}},
      {true, 2, {true, s.background, s.focus}},
      {true, 3, {true, s.background, s.selected}},
      {true, 4, {true, s.background, s.selected}},
      {true, 5, {true, s.background, s.selected}},
      {false, 0, {}},
      {false, 1, {}},
      {true, 6, {}},
      {false, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "selected " << c.selected << " mode " << c.mode);
    EXPECT_EQ(frame::EntryTextColours(hidden, c.selected, c.mode, s), c.expected);
  }
}

TEST(PaintRulesTest, ListColumnsKeepTheAttributeColourOnTheBackground) {
  const frame::PaneSettings s = Colours();
  for (int mode = 0; mode <= 6; ++mode) {
    SCOPED_TRACE(mode);
    const TextColours c = frame::ColumnTextColours(0x01, mode, s);
    if (mode >= 2 && mode <= 5) {
      EXPECT_EQ(c, (TextColours{true, s.readOnly, s.background}));
    } else {
      EXPECT_FALSE(c.draws);
    }
  }
}

TEST(PaintRulesTest, MarksOfAnEntry) {
  struct Case {
    bool selected, cursor, active;
    frame::EntryMarks expected;
  } cases[] = {
      {false, false, false, {false, false, 3}}, {false, false, true, {false, false, 3}},
      {true, false, false, {true, false, 4}},   {true, false, true, {true, false, 4}},
      {false, true, false, {false, false, 3}},  {false, true, true, {false, true, 2}},
      {true, true, false, {true, false, 4}},    {true, true, true, {true, true, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.selected << c.cursor << c.active);
    EXPECT_EQ(frame::MarksFor(c.selected, c.cursor, c.active), c.expected);
  }
}

TEST(PaintRulesTest, FrameStyles) {
  struct Case {
    int style;
    bool edge;
    int frames;
    int inset0, inset1;
    ColourRole colour;
  } cases[] = {
      {0, true, 0, 0, 0, ColourRole::kButtonFace},
      {1, true, 0, 0, 0, ColourRole::kButtonShadow},
      {2, false, 1, 1, 0, ColourRole::kFocus},
      {3, false, 1, 1, 0, ColourRole::kBackground},
      {4, false, 2, 2, 0, ColourRole::kSelection},
      {5, false, 2, 2, 0, ColourRole::kBackground},
      {6, true, 0, 0, 0, ColourRole::kBackground},
      {7, false, 0, 0, 0, ColourRole::kBackground},
      {-1, false, 0, 0, 0, ColourRole::kBackground},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const frame::FrameShape f = frame::DescribeFrame(c.style);
    EXPECT_EQ(f.edge, c.edge);
    EXPECT_EQ(f.frameCount, c.frames);
    if (c.frames > 0) {
      EXPECT_EQ(f.insets[0], c.inset0);
    }
    if (c.frames > 1) {
      EXPECT_EQ(f.insets[1], c.inset1);
    }
    if (c.edge || c.frames) {
      EXPECT_EQ(f.colour, c.colour);
    }
  }
}

TEST(PaintRulesTest, ExeExtension) {
  struct Case {
    const char* name;
    bool exe;
  } cases[] = {
      {"SORM32.EXE", true},
      {"setup.exe", true},
      {"Mixed.ExE", true},
      {".exe", true},
      {"a.b.exe", true},
      {"\x83\x74\x83\x40\x83\x43\x83\x8b.EXE", true},  // ファイル.EXE
      {"exe", false},
      {"a.exe.txt", false},
      {"a.exex", false},
      {"a.ex", false},
      {"a.ex e", false},
      {"a.", false},
      {"", false},
      {"a.\x83\x45XE", false},  // a double-byte character whose trail byte is 'E'
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(frame::HasExeExtension(c.name), c.exe);
  }
}

TEST(PaintRulesTest, PlaceholderRoles) {
  struct Case {
    const char* name;
    uint32_t attributes;
    uint16_t linkFlags;
    IconRole role;
  } cases[] = {
      {"..", 0x10, 0, IconRole::kFolder},
      {"dir.exe", 0x10, 0, IconRole::kFolder},
      {"docs.lfi", 0x20, table::kIsLink | table::kTargetIsDirectory, IconRole::kFolder},
      {"tool.lnk", 0x20, table::kIsLink | table::kIsShortcut, IconRole::kDocument},
      {"run.EXE", 0x20, 0, IconRole::kProgram},
      {"run.exe", 0x01, 0, IconRole::kProgram},
      {"readme.txt", 0x20, 0, IconRole::kDocument},
      {"noext", 0, 0, IconRole::kDocument},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    table::SM_DAT d;
    d.name = c.name;
    d.attributes = c.attributes;
    d.linkFlags = c.linkFlags;
    EXPECT_EQ(frame::PlaceholderRole(d), c.role);
  }
}

TEST(PaintRulesTest, IconSlotsFollowTheResourceNumbers) {
  struct Case {
    IconRole role;
    bool large;
    int resource;
  } cases[] = {
      {IconRole::kFolder, true, IDI_FOLDER_LARGE},   {IconRole::kProgram, true, IDI_EXE_LARGE},
      {IconRole::kDocument, true, IDI_DOC_LARGE},    {IconRole::kFolder, false, IDI_FOLDER_SMALL},
      {IconRole::kProgram, false, IDI_EXE_SMALL},    {IconRole::kDocument, false, IDI_DOC_SMALL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IDI_FOLDER_LARGE + frame::BuiltinIconSlot(c.role, c.large), c.resource);
  }
  EXPECT_EQ(IDI_FOLDER_LARGE + frame::kLinkOverlayLargeSlot, IDI_LINK_LARGE);
  EXPECT_EQ(IDI_FOLDER_LARGE + frame::kLinkOverlaySmallSlot, IDI_LINK_SMALL);
}

// ---- coverage of a paint rectangle

// True when every pixel of paint lies in one of the rectangles.
::testing::AssertionResult Covers(const std::vector<Rect>& rects, const Rect& paint) {
  for (int32_t y = paint.top; y < paint.bottom; ++y) {
    for (int32_t x = paint.left; x < paint.right; ++x) {
      bool in = false;
      for (const Rect& r : rects) {
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
          in = true;
          break;
        }
      }
      if (!in) return ::testing::AssertionFailure() << "pixel " << x << "," << y << " left stale";
    }
  }
  return ::testing::AssertionSuccess();
}

bool Overlap(const std::vector<Rect>& a, const std::vector<Rect>& b) {
  for (const Rect& x : a)
    for (const Rect& y : b)
      if (frame::Intersects(x, y)) return true;
  return false;
}

// Cells of n entries on a grid as the layout places them: icon mode rows from x 16 of perRow
// cells, list mode columns from y 0 of perRow cells, shifted by the origin.
std::vector<Rect> Grid(int n, int perRow, int w, int h, bool list, int ox, int oy) {
  std::vector<Rect> cells;
  for (int i = 0; i < n; ++i) {
    const int a = i % perRow, b = i / perRow;
    const int x = (list ? b * w : 16 + a * w) - ox;
    const int y = (list ? a * h : b * h) - oy;
    cells.push_back(Rect{x, y, x + w, y + h});
  }
  return cells;
}

TEST(PaintRulesTest, BackgroundOfAnEmptyPaneIsTheWholeArea) {
  std::vector<Rect> fills;
  frame::BackgroundRects({}, false, Rect{3, 4, 50, 60}, fills);
  EXPECT_EQ(fills, (std::vector<Rect>{{3, 4, 50, 60}}));
  fills.clear();
  frame::BackgroundRects({}, true, Rect{0, 0, 0, 60}, fills);
  EXPECT_TRUE(fills.empty());
}

TEST(PaintRulesTest, BackgroundFillsMarginsGapsAndTheRestWithoutTouchingCells) {
  struct Case {
    const char* what;
    int n, perRow, w, h;
    bool list;
    int ox, oy;
    Rect paint;
  } cases[] = {
      {"icon rows, last one short", 10, 3, 30, 20, false, 0, 0, {0, 0, 120, 90}},
      {"icon, scrolled half a row", 14, 3, 30, 20, false, 0, 10, {0, 0, 125, 70}},
      {"icon, strip of a line scroll", 30, 3, 30, 20, false, 0, 40, {0, 50, 125, 70}},
      {"icon, paint right of the cells", 6, 2, 30, 20, false, 0, 0, {70, 0, 120, 50}},
      {"icon, paint left margin only", 6, 2, 30, 20, false, 0, 0, {0, 5, 16, 35}},
      {"list columns, last one short", 10, 4, 40, 12, true, 0, 0, {0, 0, 170, 55}},
      {"list, scrolled", 40, 4, 40, 12, true, 80, 0, {0, 0, 130, 50}},
      {"list, strip of a line scroll", 40, 4, 40, 12, true, 80, 0, {90, 0, 130, 50}},
      {"one entry", 1, 5, 30, 20, false, 0, 0, {0, 0, 100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Rect> cells;
    for (const Rect& r : Grid(c.n, c.perRow, c.w, c.h, c.list, c.ox, c.oy))
      if (frame::Intersects(r, c.paint)) cells.push_back(r);
    std::vector<Rect> fills;
    frame::BackgroundRects(cells, c.list, c.paint, fills);
    std::vector<Rect> all = cells;
    all.insert(all.end(), fills.begin(), fills.end());
    EXPECT_TRUE(Covers(all, c.paint));
    EXPECT_FALSE(Overlap(fills, cells)) << "a fill erases a cell";
    for (const Rect& f : fills) EXPECT_EQ(frame::Intersect(f, c.paint), f) << "fill outside";
  }
}

TEST(PaintRulesTest, BackgroundCoversWhateverTheCells) {
  // Cells of any size and place, even overlapping or out of order: nothing stays stale.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pos(-20, 80), size(0, 30);
  for (int round = 0; round < 300; ++round) {
    const bool list = round % 2;
    std::vector<Rect> cells;
    const int n = round % 9;
    for (int i = 0; i < n; ++i) {
      int x = pos(rng), y = pos(rng);
      cells.push_back(Rect{x, y, x + size(rng), y + size(rng)});
    }
    const Rect paint{pos(rng) / 4, pos(rng) / 4, 40 + pos(rng) / 2, 40 + pos(rng) / 2};
    std::vector<Rect> fills;
    frame::BackgroundRects(cells, list, paint, fills);
    std::vector<Rect> all = fills;
    for (const Rect& c : cells) all.push_back(c);
    ASSERT_TRUE(Covers(all, paint)) << "round " << round;
  }
}

// ---- entries a rectangle shows, on tables the layout placed

class VisibleEntriesTest : public tabletest::TableTest {};

TEST_F(VisibleEntriesTest, BisectionFindsExactlyTheRowsOrColumnsCrossingTheRectangle) {
  for (int i = 0; i < 70; ++i) MakeFile("entry " + std::to_string(100 + i) + ".txt");
  for (const char* vmode : {"0", "1"}) {
    SCOPED_TRACE(vmode);
    SetKey("vmode", vmode);
    auto t = Open();
    const std::vector<table::BINFO*>& entries = t->Entries();
    const table::LayoutMetrics& m = t->metrics();
    const bool list = t->listMode();
    ASSERT_GT(list ? t->extentWidth() : t->extentHeight(), list ? 400 : 300);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-30, 500);
    for (int round = 0; round < 200; ++round) {
      const table::Point origin =
          list ? table::Point{(round % 9) * m.cellWidth / 2, 0}
               : table::Point{0, (round % 9) * m.cellHeight / 2};
      int a = coord(rng), b = coord(rng), c = coord(rng), d = coord(rng);
      const Rect rect{std::min(a, b), std::min(c, d), std::max(a, b) + 1, std::max(c, d) + 1};
      const frame::IndexRange r = frame::CandidateEntries(entries, m, list, origin, rect);
      // Every entry whose cell meets the rectangle is inside the range, and every entry of
      // the range lies in a row (column) that crosses it.
      for (std::size_t i = 0; i < entries.size(); ++i) {
        const Rect cell = frame::CellRect(*entries[i], m, origin);
        const bool meets = frame::Intersects(cell, rect);
        const bool crosses = list ? cell.left < rect.right && cell.right > rect.left
                                  : cell.top < rect.bottom && cell.bottom > rect.top;
        const bool inRange = i >= r.begin && i < r.end;
        if (meets) {
          ASSERT_TRUE(inRange) << "round " << round << " entry " << i;
        }
        ASSERT_EQ(inRange, crosses) << "round " << round << " entry " << i;
      }
    }
  }
}

TEST_F(VisibleEntriesTest, NothingBeforeTheFirstLayoutOrForAnEmptyRectangle) {
  MakeFile("a.txt");
  auto t = Open();
  const table::LayoutMetrics none;
  EXPECT_EQ(frame::CandidateEntries(t->Entries(), none, false, {}, Rect{0, 0, 100, 100}),
            frame::IndexRange{});
  EXPECT_EQ(frame::CandidateEntries(t->Entries(), t->metrics(), false, {}, Rect{5, 5, 5, 90}),
            frame::IndexRange{});
  EXPECT_EQ(frame::CandidateEntries({}, t->metrics(), false, {}, Rect{0, 0, 100, 100}),
            frame::IndexRange{});
}

TEST_F(VisibleEntriesTest, WholeClientOfALaidOutTableLeavesNothingStale) {
  for (int i = 0; i < 25; ++i) MakeFile("a rather long file name number " + std::to_string(i));
  for (const char* vmode : {"0", "1"}) {
    SCOPED_TRACE(vmode);
    SetKey("vmode", vmode);
    SetKey("vinfo", "15");
    auto t = Open();
    const table::LayoutMetrics& m = t->metrics();
    const bool list = t->listMode();
    const Rect client{0, 0, view_.client.width, view_.client.height};
    const std::vector<table::BINFO*>& entries = t->Entries();
    const frame::IndexRange r = frame::CandidateEntries(entries, m, list, t->origin(), client);
    std::vector<Rect> cells, fills;
    for (std::size_t i = r.begin; i < r.end; ++i) {
      const Rect cell = frame::CellRect(*entries[i], m, t->origin());
      if (frame::Intersects(cell, client)) cells.push_back(cell);
      // Every line of a drawn entry stays inside its cell with the cell size the layout chose.
      const table::BINFO* first = entries[i]->FirstChildNode();
      const table::BINFO* line = first;
      do {
        const int x = line->x - t->origin().x, y = line->y - t->origin().y;
        const Rect box{x, y, x + line->textWidth, y + line->textHeight};
        if (!box.Empty()) {
          EXPECT_EQ(frame::Intersect(box, cell), box) << entries[i]->Data()->name;
        }
        line = line->NextNode();
      } while (line != first);
    }
    ASSERT_FALSE(cells.empty());
    frame::BackgroundRects(cells, list, client, fills);
    cells.insert(cells.end(), fills.begin(), fills.end());
    EXPECT_TRUE(Covers(cells, client));
  }
}

TEST(PaintRulesTest, UnderscoresOfANameButNeverATrailByte) {
  // 0x88 0x5F is a double-byte character whose trail byte is an underscore.
  struct Case {
    std::string text;
    std::vector<std::size_t> offsets;
  } cases[] = {
      {"make_it.txt", {4}},
      {"__a_", {0, 1, 3}},
      {"no blank", {}},
      {"", {}},
      {"\x88\x5F.txt", {}},
      {"\x88\x5F_x", {2}},
      {"a\x88", {}},  // a lead byte at the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(frame::UnderscoreOffsets(c.text.data(), c.text.size()), c.offsets) << c.text;
  }
}

}  // namespace
