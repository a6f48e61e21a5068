// The selection: the Selected bit with the totals, what each change draws, the target entry,
// "." and ".." never selected, and Shift range selection through the key handling.
#include <gtest/gtest.h>

#include "table/key_actions.h"
#include "table/selection.h"
#include "tests/unit/pane_input_test_support.h"

namespace {

using table::BINFO;

class SelectionTest : public inputtest::InputTest {
 protected:
  // Up and Down bound to movement kinds 2 and 5, with and without Shift.
  void BindArrows(uint32_t selectMode = 3) {
    for (uint16_t mods : {0, 1}) {
      keys_.Bind({38, mods, table::kActionFirstMove + 2, ""});
      keys_.Bind({40, mods, table::kActionFirstMove + 5, ""});
    }
    keys_.Bind({32, 0, table::kActionToggle, ""});
    keys_.Bind({46, 1, table::kActionDeselect, ""});
    keys_.SetSelectMode(selectMode);
  }
  void Key(table::Sorm& t, uint32_t key, uint8_t mods) {
    table::OnKey(keys_, keyboard_, &t, &surface_, key, mods);
  }

  table::KeyBindings keys_;
  table::KeyboardState keyboard_;
};

TEST_F(SelectionTest, SelectDeselectToggleKeepTheTotalsAndDrawOnlyTheEntry) {
  auto t = OpenWith(5, true, 300, 110);
  BINFO* e3 = At(*t, 4);  // f003.txt, 3 bytes
  EXPECT_TRUE(table::Select(*t, e3, &surface_));
  EXPECT_FALSE(table::Select(*t, e3, &surface_));
  EXPECT_EQ(t->selectedCount(), 1);
  EXPECT_EQ(t->selectedBytes(), 3.0);
  EXPECT_EQ(surface_.TakeRedrawn(), std::vector<const BINFO*>{e3});
  EXPECT_TRUE(table::Toggle(*t, At(*t, 6), &surface_));  // f005.txt
  EXPECT_EQ(t->selectedBytes(), 8.0);
  EXPECT_TRUE(table::Toggle(*t, e3, &surface_));
  EXPECT_FALSE(table::Deselect(*t, e3, &surface_));
  EXPECT_EQ(t->selectedCount(), 1);
  EXPECT_EQ(t->selectedBytes(), 5.0);
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{6});
  EXPECT_EQ(surface_.TakeRedrawn(), (std::vector<const BINFO*>{At(*t, 6), e3}));
  EXPECT_FALSE(table::Select(*t, nullptr, &surface_));
  EXPECT_FALSE(table::Select(*t, t->sentinel(), &surface_));
}

TEST_F(SelectionTest, DotEntriesAreNeverSelected) {
  table::SM_DAT dot;
  dot.name = ".";
  EXPECT_FALSE(table::IsSelectable(dot));
  dot.name = "..";
  EXPECT_FALSE(table::IsSelectable(dot));
  dot.name = "...";
  EXPECT_TRUE(table::IsSelectable(dot));

  auto t = OpenWith(4, true, 300, 110);
  BINFO* parent = At(*t, 1);
  ASSERT_EQ(parent->Data()->name, "..");
  EXPECT_FALSE(table::Select(*t, parent, &surface_));
  EXPECT_FALSE(table::Toggle(*t, parent, &surface_));
  EXPECT_EQ(table::SelectAll(*t, &surface_), 4);
  EXPECT_EQ(table::SelectRange(*t, 1, 5, &surface_), 0);
  table::ExtendRange(*t, 1, 1, 3, &surface_);  // anchored at ".."
  EXPECT_FALSE(parent->Data()->IsSelected());

  // The keyboard: Shift+Down from "..", Space on "..".
  table::DeselectAll(*t, &surface_);
  BindArrows();
  t->SetCursor(parent);
  Key(*t, 40, table::kModShift);
  Key(*t, 38, table::kModShift);
  Key(*t, 32, 0);
  EXPECT_FALSE(parent->Data()->IsSelected());
  EXPECT_EQ(t->selectedCount(), static_cast<int32_t>(Selected(*t).size()));
}

TEST_F(SelectionTest, ManyChangesRepaintOnceAndFewDrawEach) {
  auto t = OpenWith(100, true, 300, 110);
  int textsBefore = view_.selectionUpdates;
  EXPECT_EQ(table::SelectAll(*t, &surface_), 100);
  EXPECT_EQ(view_.selectionUpdates, textsBefore + 1) << "one status text for the whole change";
  EXPECT_EQ(surface_.repaints, 1);
  EXPECT_TRUE(surface_.redrawn.empty());
  EXPECT_EQ(t->selectedBytes(), 100.0 * 101 / 2);
  textsBefore = view_.selectionUpdates;
  EXPECT_EQ(table::DeselectAll(*t, &surface_), 100);
  EXPECT_EQ(view_.selectionUpdates, textsBefore + 1);
  EXPECT_EQ(surface_.repaints, 2);
  EXPECT_EQ(surface_.TakeRedrawn(), std::vector<const BINFO*>{t->cursor()});
  EXPECT_EQ(t->selectedCount(), 0);
  EXPECT_EQ(t->selectedBytes(), 0.0);

  EXPECT_EQ(table::SelectRange(*t, 12, 10, &surface_), 3);
  EXPECT_EQ(surface_.TakeRedrawn(), (std::vector<const BINFO*>{At(*t, 10), At(*t, 11), At(*t, 12)}));
  EXPECT_EQ(table::DeselectRange(*t, 11, 500, &surface_), 2);
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{10});
}

TEST_F(SelectionTest, DeselectAllWithNothingSelectedDrawsNothing) {
  auto t = OpenWith(20, true, 300, 110);
  EXPECT_EQ(table::DeselectAll(*t, &surface_), 0);
  EXPECT_TRUE(surface_.redrawn.empty());
  EXPECT_EQ(surface_.repaints, 0);
}

TEST_F(SelectionTest, TargetEntry) {
  auto t = OpenWith(6, true, 300, 110);
  t->SetCursor(At(*t, 3));
  EXPECT_EQ(table::TargetEntry(*t), At(*t, 3));  // nothing selected: the cursor
  table::Select(*t, At(*t, 6), &surface_);
  table::Select(*t, At(*t, 4), &surface_);
  EXPECT_EQ(table::TargetEntry(*t), At(*t, 4));  // the first selected in display order
  table::DeselectAll(*t, &surface_);
  t->SetCursor(At(*t, 1));
  EXPECT_EQ(table::TargetEntry(*t), nullptr);  // the cursor is ".."
  t->ClearEntries();
  EXPECT_EQ(table::TargetEntry(*t), nullptr);  // no cursor
}

TEST_F(SelectionTest, ShiftDownThreeTimesFromFiveSelectsFiveToEightAndShiftUpDropsEight) {
  auto t = OpenWith(20, true, 300, 110);
  BindArrows();
  t->SetCursor(At(*t, 5));
  for (int i = 0; i < 3; ++i) Key(*t, 40, table::kModShift);
  EXPECT_EQ(table::CursorIndex(*t), 8);
  EXPECT_EQ(Selected(*t), Range(5, 8));
  Key(*t, 38, table::kModShift);
  EXPECT_EQ(Selected(*t), Range(5, 7));
  EXPECT_EQ(t->selectedCount(), 3);
}

TEST_F(SelectionTest, ShiftRowMovesInIconModeSelectWholeRuns) {
  auto t = OpenWith(39, false, 420, 250);  // four to a row
  ASSERT_EQ(t->metrics().perLine, 4);
  BindArrows();
  t->SetCursor(At(*t, 5));
  Key(*t, 40, table::kModShift);
  EXPECT_EQ(Selected(*t), Range(5, 9));
  Key(*t, 40, table::kModShift);
  EXPECT_EQ(Selected(*t), Range(5, 13));
  Key(*t, 38, table::kModShift);
  EXPECT_EQ(Selected(*t), Range(5, 9));
  Key(*t, 38, table::kModShift);  // back at the anchor: nothing is left selected
  EXPECT_TRUE(Selected(*t).empty());
  Key(*t, 38, table::kModShift);  // across it: the range runs from the anchor up to ".."
  EXPECT_EQ(Selected(*t), Range(2, 5));  // ".." (index 1) is never selected
}

TEST_F(SelectionTest, AMoveAcrossTheAnchorKeepsTheAnchorSelected) {
  auto t = OpenWith(39, false, 420, 250);
  // Anchor 6, cursor 8 (6..8 selected), one row up to 4: the range is 4..6.
  table::SelectRange(*t, 6, 8, nullptr);
  table::ExtendRange(*t, 6, 8, 4, &surface_);
  EXPECT_EQ(Selected(*t), Range(4, 6));
  // And back down across it to 10: 6..10.
  table::ExtendRange(*t, 6, 4, 10, &surface_);
  EXPECT_EQ(Selected(*t), Range(6, 10));
}

TEST_F(SelectionTest, PlainMovementClearsTheSelectionOnlyWithSelectModeBitOne) {
  for (uint32_t mode : {3u, 1u}) {
    SCOPED_TRACE(mode);
    auto t = OpenWith(20, true, 300, 110);
    BindArrows(mode);
    t->SetCursor(At(*t, 5));
    Key(*t, 40, table::kModShift);
    Key(*t, 40, 0);
    EXPECT_EQ(Selected(*t), mode == 3 ? std::vector<int32_t>{} : Range(5, 6));
    // A plain key that moves nothing leaves the selection alone.
    table::SelectRange(*t, 2, 3, nullptr);
    t->SetCursor(At(*t, 21));
    Key(*t, 40, 0);
    EXPECT_FALSE(Selected(*t).empty());
  }
}

TEST_F(SelectionTest, WithoutSelectModeBitZeroShiftMovesSelectNothing) {
  auto t = OpenWith(20, true, 300, 110);
  BindArrows(0);
  t->SetCursor(At(*t, 5));
  Key(*t, 40, table::kModShift);
  Key(*t, 40, table::kModShift);
  EXPECT_EQ(table::CursorIndex(*t), 7);
  EXPECT_TRUE(Selected(*t).empty());
}

TEST_F(SelectionTest, AKeyThatMovesNothingKeepsTheRangeGoing) {
  auto t = OpenWith(20, true, 300, 110);
  BindArrows();
  t->SetCursor(At(*t, 5));
  Key(*t, 40, table::kModShift);  // anchor 5, cursor 6
  Key(*t, 32, 0);                 // Space toggles 6 off; the cursor stays
  Key(*t, 40, table::kModShift);  // the range goes on from anchor 5
  EXPECT_EQ(Selected(*t), (std::vector<int32_t>{5, 7}));
  EXPECT_TRUE(keyboard_.range.ActiveIn(*t));
  EXPECT_EQ(keyboard_.range.anchor, 5);
}

TEST_F(SelectionTest, ShiftDeleteBeginsNoRange) {
  auto t = OpenWith(20, true, 300, 110);
  BindArrows();
  t->SetCursor(At(*t, 5));
  Key(*t, 46, table::kModShift);  // a command key
  EXPECT_FALSE(keyboard_.range.active);
  t->SetCursor(At(*t, 9));
  Key(*t, 40, table::kModShift);  // the range begins here, at 9
  EXPECT_EQ(Selected(*t), Range(9, 10));
}

TEST_F(SelectionTest, ARangeBelongsToTheTableItBeganIn) {
  auto a = OpenWith(20, true, 300, 110);
  BindArrows();
  a->SetCursor(At(*a, 3));
  Key(*a, 40, table::kModShift);  // anchor 3 in the first table

  tabletest::RecordingView otherView;
  otherView.client = view_.client;
  SetKey("Path", dir_.Dir());
  table::Sorm b(otherView, 1);
  b.SetCursor(At(b, 12));
  table::OnKey(keys_, keyboard_, &b, nullptr, 40, table::kModShift);
  EXPECT_EQ(Selected(b), Range(12, 13));  // anchored at its own cursor, not at 3
  EXPECT_TRUE(keyboard_.range.ActiveIn(b));
}

}  // namespace
