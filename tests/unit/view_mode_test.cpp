// Switching between icon and list view: the listing is read again, the cursor stays on its
// entry and is in view in the new mode.
#include <gtest/gtest.h>

#include "table/view_mode.h"
#include "tests/unit/pane_input_test_support.h"

namespace {

class ViewModeTest : public inputtest::InputTest {
 protected:
  // Whether the entry's cell lies wholly inside the client area at the table's origin.
  static bool InView(const table::Sorm& t, const table::BINFO* e, table::ClientSize client) {
    const table::LayoutMetrics& m = t.metrics();
    const table::Point o = t.origin();
    if (t.listMode()) return e->x >= o.x && e->x + m.cellWidth <= o.x + client.width;
    return e->y >= o.y && e->y + m.cellHeight <= o.y + client.height;
  }
};

struct SwitchCase {
  bool fromList;
  int32_t cursorIndex;
};

class ViewModeSwitchTest : public ViewModeTest, public testing::WithParamInterface<SwitchCase> {};

TEST_P(ViewModeSwitchTest, TheCursorKeepsItsEntryAndIsShownInTheNewMode) {
  const SwitchCase& c = GetParam();
  auto t = OpenWith(200, c.fromList, 300, 200);
  ASSERT_EQ(t->EntryCount(), 201);
  t->SetCursor(At(*t, c.cursorIndex));
  const std::string name = t->cursor()->Data()->name;
  MakeFile("new.txt");  // only a new reading of the directory lists it
  const int repaints = view_.repaints;

  ASSERT_TRUE(table::SwitchViewMode(*t, c.fromList ? table::kIconMode : table::kListMode));
  EXPECT_EQ(t->listMode(), !c.fromList);
  EXPECT_EQ(t->EntryCount(), 202) << "the listing is read again";
  ASSERT_TRUE(t->HasCursor());
  EXPECT_EQ(t->cursor()->Data()->name, name);
  EXPECT_TRUE(InView(*t, t->cursor(), view_.client))
      << t->origin().x << "," << t->origin().y << " " << t->cursor()->x << "," << t->cursor()->y;
  EXPECT_GT(view_.repaints, repaints);
}

INSTANTIATE_TEST_SUITE_P(Cases, ViewModeSwitchTest,
                         testing::Values(SwitchCase{true, 2},     // the view stays at the start
                                         SwitchCase{true, 150},   // the view moves to the cursor
                                         SwitchCase{false, 150},
                                         SwitchCase{false, 201},  // the last entry
                                         SwitchCase{true, 201}));

// Hiding a type takes entries before the cursor away: the cursor stays on its file, in view.
TEST_F(ViewModeTest, HiddenTypesKeepTheCursorOnItsEntry) {
  for (int k = 0; k < 120; ++k) MakeFile("a" + std::to_string(100 + k) + ".hid");
  auto t = OpenWith(100, true, 300, 200);
  ASSERT_EQ(t->EntryCount(), 221);
  t->SetCursor(At(*t, 200));
  const std::string name = t->cursor()->Data()->name;
  ASSERT_EQ(name.substr(name.size() - 4), ".txt");
  t->SetInvisibleTypesText("hid");
  table::ReloadKeepingCursor(*t);
  EXPECT_EQ(t->EntryCount(), 101);
  ASSERT_TRUE(t->HasCursor());
  EXPECT_EQ(t->cursor()->Data()->name, name);
  EXPECT_TRUE(InView(*t, t->cursor(), view_.client));
}

TEST_F(ViewModeTest, TheSameModeDoesNothing) {
  auto t = OpenWith(10, true, 300, 200);
  MakeFile("new.txt");
  const int repaints = view_.repaints;
  EXPECT_FALSE(table::SwitchViewMode(*t, table::kListMode));
  EXPECT_EQ(t->EntryCount(), 11);
  EXPECT_EQ(view_.repaints, repaints);
}

}  // namespace
