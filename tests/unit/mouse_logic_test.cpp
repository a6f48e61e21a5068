// The mouse: clicks, the pending click and its slow release, double-clicks, the rubber band in
// both modes, the wait for a drag, click scrolling in the idle step, the context menu rules,
// and input outside the pane.
#include <gtest/gtest.h>

#include "resources/commands.h"
#include "table/key_binding.h"
#include "table/mouse_logic.h"
#include "tests/unit/pane_input_test_support.h"

namespace {

using table::BandRect;
using table::BINFO;
using table::MouseButton;
using table::MouseRequest;
using table::Point;

TEST(MouseGeometry, BandsNormaliseAndMeetNodesEdgesIncluded) {
  EXPECT_EQ(table::NormalizeBand({50, 10}, {20, 40}), (BandRect{20, 10, 50, 40}));
  BINFO node;
  node.x = 100;
  node.y = 100;
  node.width = 10;
  node.height = 10;
  struct Case {
    BandRect band;
    bool in;
  } cases[] = {
      {{0, 0, 99, 200}, false},    {{0, 0, 100, 200}, true},  // left edge
      {{110, 0, 300, 200}, true},  {{111, 0, 300, 200}, false},
      {{0, 0, 300, 99}, false},    {{0, 110, 300, 300}, true},
      {{105, 105, 105, 105}, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(table::NodeInBand(node, c.band), c.in) << c.band.left << "," << c.band.top;
}

TEST(MouseGeometry, OutlinesFarOutsideAreDrawnJustOutsideTheClientArea) {
  table::ClientSize client{400, 300};
  EXPECT_EQ(table::ClampOutline({-100000, -5, 5000000, 20}, client), (BandRect{-1, -1, 400, 20}));
  EXPECT_EQ(table::ClampOutline({10, 20, 30, 40}, client), (BandRect{10, 20, 30, 40}));
  EXPECT_EQ(table::ClampOutline({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {0, 0}),
            (BandRect{-1, -1, 0, 0}));
}

class MouseTest : public inputtest::InputTest {
 protected:
  // Icon mode, four to a row: ".." at index 1, file k at index k + 1.
  std::unique_ptr<table::Sorm> OpenIcons(int files = 15) { return OpenWith(files, false, 420, 250); }
  // A client point on an entry's icon or its name.
  static Point OnIcon(const table::Sorm& t, const BINFO* e) {
    return Point{e->x + 5 - t.origin().x, e->y + 5 - t.origin().y};
  }
  static Point OnName(const table::Sorm& t, const BINFO* e) {
    const BINFO* name = e->FirstChildNode();
    return Point{name->x + 2 - t.origin().x, name->y + 2 - t.origin().y};
  }
  // Presses at p and lets the pointer follow path, one point per pump, releasing after it.
  void Script(const std::vector<Point>& path, bool right = false) {
    (right ? surface_.rightHeld : surface_.leftHeld) = true;
    surface_.onPump = [this, path, right](int n) {
      if (n <= static_cast<int>(path.size())) {
        surface_.pointer = path[n - 1];
      } else {
        (right ? surface_.rightHeld : surface_.leftHeld) = false;
      }
    };
  }
  table::PaneMouse mouse_;
  table::MouseOptions options_;
};

TEST_F(MouseTest, PlainClickMovesTheCursorClearsTheSelectionAndOffersADrag) {
  auto t = OpenIcons();
  table::SelectRange(*t, 2, 4, nullptr);
  BINFO* e = At(*t, 7);
  mouse_.LeftDown(*t, surface_, OnIcon(*t, e), 0, options_);
  EXPECT_EQ(t->cursor(), e);
  EXPECT_EQ(t->selectedCount(), 0);
  EXPECT_EQ(surface_.drags, std::vector<MouseButton>{MouseButton::kLeft});
  EXPECT_FALSE(mouse_.pending().active);  // the icon, not the name
  EXPECT_TRUE(mouse_.buttonDown());
  EXPECT_TRUE(mouse_.WantsIdle());
  mouse_.LeftUp();
  EXPECT_FALSE(mouse_.WantsIdle());
}

TEST_F(MouseTest, CtrlClickOnTheIconTogglesAtOnceAndOnTheNameAtAQuickRelease) {
  auto t = OpenIcons();
  BINFO* e = At(*t, 6);
  mouse_.LeftDown(*t, surface_, OnIcon(*t, e), table::kModCtrl, options_);
  EXPECT_TRUE(e->Data()->IsSelected());
  mouse_.LeftUp();

  BINFO* f = At(*t, 8);
  surface_.pointer = OnName(*t, f);
  mouse_.LeftDown(*t, surface_, surface_.pointer, table::kModCtrl, options_);
  EXPECT_FALSE(f->Data()->IsSelected());
  EXPECT_TRUE(mouse_.pending().active);
  mouse_.LeftUp();
  surface_.ticks += 100;
  surface_.modifiers = table::kModCtrl;
  EXPECT_EQ(mouse_.IdleStep(*t, surface_, options_).kind, MouseRequest::kNone);
  EXPECT_TRUE(f->Data()->IsSelected());
  EXPECT_TRUE(e->Data()->IsSelected());  // Ctrl kept the rest of the selection
  EXPECT_FALSE(mouse_.WantsIdle());
}

TEST_F(MouseTest, SlowReleaseOnTheNameStartsTheChangeNameCommand) {
  struct Case {
    const char* what;
    uint32_t pressTick, releaseTick;
    int32_t moved;
    bool renames;
  } cases[] = {
      {"quick", 1000, 1400, 0, false},
      {"exactly 500 ms", 1000, 1500, 0, false},
      {"slow", 1000, 1501, 0, true},
      {"slow, moved 7", 1000, 1800, 7, true},
      {"slow, moved 8", 1000, 1800, 8, false},
      {"counter wrapped", 0xFFFFFFF0u, 5, 0, true},
  };
  auto t = OpenIcons();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    BINFO* e = At(*t, 4);
    surface_.ticks = c.pressTick;
    surface_.pointer = OnName(*t, e);
    mouse_.LeftDown(*t, surface_, surface_.pointer, 0, options_);
    mouse_.LeftUp();
    surface_.ticks = c.releaseTick;
    surface_.pointer.x += c.moved;
    MouseRequest r = mouse_.IdleStep(*t, surface_, options_);
    EXPECT_EQ(r.kind == MouseRequest::kCommand && r.command == CMD_FPROPERTY, c.renames);
    EXPECT_FALSE(mouse_.pending().active);
  }
}

TEST_F(MouseTest, DoubleClickOpensAndStartsNothingElse) {
  auto t = OpenIcons();
  BINFO* e = At(*t, 5);
  surface_.pointer = OnName(*t, e);
  mouse_.LeftDown(*t, surface_, surface_.pointer, 0, options_);
  mouse_.LeftUp();
  MouseRequest r = mouse_.LeftDoubleClick(*t, surface_.pointer);
  EXPECT_EQ(r.kind, MouseRequest::kOpenEntry);
  EXPECT_EQ(r.entry, e);
  surface_.ticks += 900;
  EXPECT_EQ(mouse_.IdleStep(*t, surface_, options_).kind, MouseRequest::kNone);
  EXPECT_EQ(mouse_.LeftDoubleClick(*t, {-10, -10}).kind, MouseRequest::kNone);
}

TEST_F(MouseTest, ShiftClickSelectsTheRangeAndLeavesTheCursor) {
  auto t = OpenIcons();
  t->SetCursor(At(*t, 3));
  mouse_.LeftDown(*t, surface_, OnIcon(*t, At(*t, 7)), table::kModShift, options_);
  EXPECT_EQ(Selected(*t), Range(3, 7));
  EXPECT_EQ(table::CursorIndex(*t), 3);
  mouse_.RightDown(*t, surface_, OnIcon(*t, At(*t, 5)), table::kModShift, options_);
  EXPECT_EQ(Selected(*t), Range(6, 7));  // Shift with the right button deselects 3 to 5
  EXPECT_EQ(table::CursorIndex(*t), 3);
}

TEST_F(MouseTest, AClickEndsAKeyboardRange) {
  auto t = OpenIcons();
  table::RangeState range;
  range.Begin(*t);
  mouse_.LeftDown(*t, surface_, OnIcon(*t, At(*t, 9)), 0, options_, &range);
  EXPECT_FALSE(range.active);
}

TEST_F(MouseTest, BandSelectsWhatItTouchesAndRestoresWhatItLeaves) {
  auto t = OpenIcons();
  table::Select(*t, At(*t, 3), nullptr);  // selected before the band
  const BINFO* e7 = At(*t, 7);            // row 1, column 2
  const Point start{2, 2};                // the background left of ".."
  // Out to row 1 column 2, then back to row 0 column 1 only.
  Script({{e7->x + 1, e7->y + 1}, {e7->x + 1, e7->y + 1}, {At(*t, 2)->x + 1, 20}});
  surface_.pointer = start;
  mouse_.LeftDown(*t, surface_, start, 0, options_);
  // Entry 3 was selected before and stays; 5 to 7 were banded and are restored; ".." never.
  EXPECT_EQ(Selected(*t), Range(2, 3));
  for (BINFO* e : t->Entries()) EXPECT_FALSE(e->Data()->state & table::kBanded) << e->index;
  EXPECT_FALSE(mouse_.bandActive());
  EXPECT_TRUE(surface_.showing.empty());  // every outline drawn was taken away again
  EXPECT_EQ(surface_.captures, (std::vector<bool>{true, false}));
  EXPECT_EQ(surface_.discards, 1);
}

TEST_F(MouseTest, BandThatPassesOverSelectedEntriesLeavesThemSelected) {
  auto t = OpenIcons();
  table::SelectRange(*t, 2, 4, nullptr);
  const BINFO* e4 = At(*t, 4);
  Script({{e4->x + 1, e4->y + 1}, {2, 2}});
  surface_.pointer = {2, 2};
  mouse_.LeftDown(*t, surface_, {2, 2}, 0, options_);
  EXPECT_EQ(Selected(*t), Range(2, 4));
}

TEST_F(MouseTest, BandCountsTheNameLinesInIconModeOnly) {
  auto t = OpenIcons();
  const BINFO* name = At(*t, 2)->FirstChildNode();
  ASSERT_GT(name->y, At(*t, 2)->y + At(*t, 2)->height);
  table::BandRect underIcon{name->x + 1, name->y + 1, name->x + 2, name->y + 2};
  EXPECT_TRUE(table::EntryInBand(*At(*t, 2), underIcon, false));
  EXPECT_FALSE(table::EntryInBand(*At(*t, 2), underIcon, true));
  EXPECT_EQ(table::ApplyBand(*t, underIcon, table::BandMode::kSelect, &surface_), 1);
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{2});
}

TEST_F(MouseTest, RightButtonBandDeselectsAndGivesTheReleaseBackToAStillClick) {
  auto t = OpenIcons();
  table::SelectAll(*t, nullptr);
  const BINFO* e6 = At(*t, 6);
  Script({{e6->x + 1, e6->y + 1}, {e6->x + 1, e6->y + 1}}, true);
  surface_.pointer = {2, 2};
  MouseRequest r = mouse_.RightDown(*t, surface_, {2, 2}, 0, options_);
  EXPECT_EQ(r.kind, MouseRequest::kNone);  // the pointer ended far from the press
  // Rows 0 and 1, columns 0 and 1 were under the band: ".." and 2, 5 and 6.
  std::vector<int32_t> want = Range(3, 4);
  for (int32_t i = 7; i <= 16; ++i) want.push_back(i);
  EXPECT_EQ(Selected(*t), want);

  surface_.onPump = nullptr;
  surface_.rightHeld = false;  // a click: the band ends at once
  surface_.pointer = {3, 2};
  r = mouse_.RightDown(*t, surface_, {2, 2}, 0, options_);
  EXPECT_EQ(r.kind, MouseRequest::kPostRightButtonUp);
  EXPECT_EQ(r.point, (Point{2, 2}));
}

TEST_F(MouseTest, BandDraggedFarOutsideScrollsAndStaysSound) {
  auto t = OpenIcons(60);  // 16 rows of four, three in view
  const Point far{-100000, 5000000};
  Script({far, far, far, far, far, far, far, far, {-100000, -100000}, {-100000, -100000}});
  surface_.pointer = {200, 100};
  mouse_.LeftDown(*t, surface_, {200, 100}, 0, options_);
  ASSERT_GE(surface_.scrolls.size(), 4u);
  EXPECT_EQ(surface_.scrolls[0].first, table::kLineForward);
  EXPECT_EQ(surface_.scrolls.back().first, table::kLineBack);
  EXPECT_GE(surface_.pumpedMs, 5 * table::kBandScrollPauseMs);
  for (const BandRect& r : surface_.outlines) {
    EXPECT_GE(r.left, -1);
    EXPECT_LE(r.right, 420);
    EXPECT_GE(r.top, -1);
    EXPECT_LE(r.bottom, 250);
  }
  EXPECT_TRUE(surface_.showing.empty());
  EXPECT_EQ(t->selectedCount(), static_cast<int32_t>(Selected(*t).size()));
}

TEST_F(MouseTest, ClicksOutsideTheClientAreaHitNothing) {
  auto t = OpenIcons();
  for (Point p : {Point{-1, 5}, Point{5, -1}, Point{-30000, -30000}, Point{420, 10},
                  Point{10, 250}, Point{INT32_MAX, INT32_MIN}}) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    surface_.pointer = p;
    surface_.leftHeld = false;
    BINFO* before = t->cursor();
    mouse_.LeftDown(*t, surface_, p, 0, options_);
    mouse_.LeftUp();
    EXPECT_EQ(t->cursor(), before);
    EXPECT_EQ(mouse_.LeftDoubleClick(*t, p).kind, MouseRequest::kNone);
  }
  EXPECT_EQ(t->selectedCount(), 0);
}

TEST_F(MouseTest, DragStartedNeedsMoreThanOnePixelWithinTheWait) {
  struct Case {
    const char* what;
    Point moveTo;
    int afterPumps;
    bool releaseInstead;
    uint32_t startTicks;
    bool started;
  } cases[] = {
      {"two pixels", {102, 100}, 3, false, 1000, true},
      {"one pixel", {101, 101}, 3, false, 1000, false},
      {"too late", {110, 100}, 200, false, 1000, false},
      {"released", {110, 100}, 200, true, 1000, false},
      {"counter wraps", {110, 100}, 200, false, 0xFFFFFFF0u, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    surface_.ticks = c.startTicks;
    surface_.pointer = {100, 100};
    surface_.leftHeld = true;
    surface_.pumps = 0;
    surface_.captures.clear();
    surface_.onPump = [&](int n) {
      surface_.ticks += 1;
      if (n == 5 && c.releaseInstead) surface_.leftHeld = false;
      if (n == c.afterPumps) surface_.pointer = c.moveTo;
    };
    EXPECT_EQ(mouse_.DragStarted(surface_, {100, 100}, MouseButton::kLeft), c.started);
    EXPECT_EQ(surface_.captures, (std::vector<bool>{true, false}));
    EXPECT_LE(surface_.pumps, 100);
  }
}

TEST_F(MouseTest, ClickScrollingHoldsOnTheBackgroundOnly) {
  auto t = OpenIcons(60);
  options_.clickScroll = true;
  // A press on the background with a still pointer starts no band.
  surface_.pointer = {2, 2};
  surface_.leftHeld = true;
  surface_.onPump = [&](int) { surface_.ticks += 10; };
  mouse_.LeftDown(*t, surface_, {2, 2}, 0, options_);
  EXPECT_TRUE(surface_.outlines.empty());
  EXPECT_TRUE(mouse_.WantsIdle());
  surface_.onPump = nullptr;

  surface_.scrolls.clear();
  mouse_.IdleStep(*t, surface_, options_);
  surface_.ticks += 29;
  mouse_.IdleStep(*t, surface_, options_);
  surface_.ticks += 1;
  mouse_.IdleStep(*t, surface_, options_);
  ASSERT_EQ(surface_.scrolls.size(), 2u);  // once every 30 ms
  EXPECT_EQ(surface_.scrolls[0].first, table::kLineForward);

  surface_.ticks += 100;
  surface_.overClient = false;  // the pointer left the pane
  mouse_.IdleStep(*t, surface_, options_);
  surface_.overClient = true;
  surface_.pointer = OnIcon(*t, t->FirstVisibleEntry());  // over an entry
  mouse_.IdleStep(*t, surface_, options_);
  EXPECT_EQ(surface_.scrolls.size(), 2u);

  surface_.leftHeld = false;
  surface_.rightHeld = true;
  surface_.pointer = {2, 240};
  mouse_.IdleStep(*t, surface_, options_);
  ASSERT_EQ(surface_.scrolls.size(), 3u);
  EXPECT_EQ(surface_.scrolls[2].first, table::kLineBack);

  // Released outside the pane: no release message came, yet the tracking ends.
  surface_.rightHeld = false;
  mouse_.IdleStep(*t, surface_, options_);
  EXPECT_FALSE(mouse_.WantsIdle());
}

TEST_F(MouseTest, ContextMenuRulesOfTheRightButton) {
  auto t = OpenIcons();
  const Point onEntry = OnIcon(*t, At(*t, 4));
  const Point background{2, 240};
  struct Case {
    const char* what;
    bool doubleClick;
    Point at;
    uint8_t mods;
    bool clickScroll;
    uint32_t major;
    MouseRequest::Kind want;
  } cases[] = {
      {"up on an entry", false, onEntry, 0, false, 4, MouseRequest::kContextMenu},
      {"up on the background", false, background, 0, false, 4, MouseRequest::kContextMenu},
      {"up on the background, click scroll", false, background, 0, true, 4, MouseRequest::kNone},
      {"up, old platform", false, onEntry, 0, false, 3, MouseRequest::kFrameMenu},
      {"double on an entry", true, onEntry, 0, false, 4, MouseRequest::kContextMenu},
      {"double with Shift", true, onEntry, table::kModShift, false, 4, MouseRequest::kNone},
      {"double on the background", true, background, 0, false, 4, MouseRequest::kNone},
      {"double on the background, click scroll", true, background, 0, true, 4,
       MouseRequest::kContextMenu},
      {"double, old platform", true, onEntry, 0, false, 3, MouseRequest::kNone},
  };
  for (const Case& c : cases) {
    table::MouseOptions o{c.clickScroll, c.major};
    MouseRequest r = c.doubleClick ? mouse_.RightDoubleClick(*t, c.at, c.mods, o)
                                   : mouse_.RightUp(*t, c.at, o);
    EXPECT_EQ(r.kind, c.want) << c.what;
    if (r.kind != MouseRequest::kNone) {
      EXPECT_EQ(r.point, c.at) << c.what;
      EXPECT_EQ(r.discardMouseAfter, !c.doubleClick) << c.what;
    }
  }
}

TEST_F(MouseTest, PendingClickOnAnEntryThatWentAwayDoesNothing) {
  auto t = OpenIcons();
  BINFO* e = At(*t, 6);
  surface_.pointer = OnName(*t, e);
  mouse_.LeftDown(*t, surface_, surface_.pointer, table::kModCtrl, options_);
  mouse_.LeftUp();
  ASSERT_TRUE(os::Fs().DeleteFile(dir_.Path(FileName(5)).c_str()));
  t->Reload();
  surface_.modifiers = table::kModCtrl;
  surface_.ticks += 50;
  EXPECT_EQ(mouse_.IdleStep(*t, surface_, options_).kind, MouseRequest::kNone);
  surface_.ticks += 5000;
  mouse_.LeftDown(*t, surface_, surface_.pointer, table::kModCtrl, options_);
  mouse_.LeftUp();
  t->ClearEntries();
  EXPECT_EQ(mouse_.IdleStep(*t, surface_, options_).kind, MouseRequest::kNone);
  EXPECT_EQ(t->selectedCount(), 0);
}

}  // namespace
