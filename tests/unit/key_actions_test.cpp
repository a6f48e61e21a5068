// The actions of the key bindings: what the table does itself, what comes back for the
// application to carry out, the key handling around them, and the context menu at the cursor.
#include <gtest/gtest.h>

#include "resources/commands.h"
#include "table/key_actions.h"
#include "tests/unit/pane_input_test_support.h"

namespace {

using table::ActionRequest;

TEST(KeyActions, ActionsOfOtherPartsComeBackAsRequests) {
  struct Case {
    int32_t action;
    const char* argument;
    ActionRequest::Kind kind;
    int command;
    const char* verb;
  } cases[] = {
      {0, "notepad.exe", ActionRequest::kRunCommandLine, 0, nullptr},
      {0, "", ActionRequest::kNone, 0, nullptr},
      {1, "", ActionRequest::kCommand, CMD_FOPEN, nullptr},
      {2, "", ActionRequest::kCommand, CMD_FMOVE, nullptr},
      {3, "", ActionRequest::kCommand, CMD_FCOPY, nullptr},
      {4, "", ActionRequest::kCommand, CMD_FDELETE, nullptr},
      {6, "", ActionRequest::kCommand, CMD_FPROPERTY, nullptr},
      {10, "", ActionRequest::kCommand, CMD_FLINK_FULL, nullptr},
      {13, "", ActionRequest::kCommand, CMD_FWINOPEN, nullptr},
      {16, "", ActionRequest::kCommand, CMD_DKEYIN, nullptr},
      {24, "", ActionRequest::kCommand, CMD_VSNAME, nullptr},
      {29, "", ActionRequest::kCommand, CMD_VSSMALL, nullptr},
      {35, "", ActionRequest::kCommand, CMD_CLICKSCROLL, nullptr},
      {41, "", ActionRequest::kCommand, CMD_CONFIGPATH, nullptr},
      {44, "", ActionRequest::kCommand, CMD_ABOUT, nullptr},
      {129, "", ActionRequest::kContextMenu, 0, nullptr},
      {132, "", ActionRequest::kShellVerb, 0, "cut"},
      {133, "", ActionRequest::kShellVerb, 0, "copy"},
      {134, "", ActionRequest::kShellVerb, 0, "paste"},
      {135, "", ActionRequest::kShellVerb, 0, "find"},
      {137, "", ActionRequest::kBrowseFolder, 0, nullptr},
      {138, "", ActionRequest::kSwitchPane, 0, nullptr},
      {139, "", ActionRequest::kCommand, CMD_TWOPANE, nullptr},
      {140, "", ActionRequest::kShrinkFrame, 0, nullptr},
      {141, "", ActionRequest::kRestoreFrame, 0, nullptr},
      {45, "", ActionRequest::kNone, 0, nullptr},
      {100, "", ActionRequest::kNone, 0, nullptr},
  };
  table::KeyboardState keyboard;
  for (const Case& c : cases) {
    ActionRequest r = table::RunAction(nullptr, nullptr, keyboard, c.action, c.argument);
    EXPECT_EQ(r.kind, c.kind) << c.action;
    EXPECT_EQ(r.command, c.command) << c.action;
    if (c.verb) {
      EXPECT_STREQ(r.verb, c.verb) << c.action;
    }
    if (c.kind == ActionRequest::kRunCommandLine) {
      EXPECT_EQ(r.argument, c.argument);
    }
  }
  ActionRequest browse = table::RunAction(nullptr, nullptr, keyboard, 137, "");
  EXPECT_STREQ(browse.text, "カレントパスを変更します。フォルダを選択して下さい");
  EXPECT_STREQ(browse.failure, "カレントパスを変更できません。");
}

class KeyActionsTest : public inputtest::InputTest {
 protected:
  ActionRequest Run(table::Sorm* t, int32_t action, const std::string& arg = "") {
    return table::RunAction(t, &surface_, keyboard_, action, arg);
  }
  table::KeyboardState keyboard_;
};

TEST_F(KeyActionsTest, CursorActionsOfTheTable) {
  auto t = OpenWith(10, true, 300, 110);
  t->SetCursor(At(*t, 4));
  Run(t.get(), table::kActionSelect);
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{4});
  Run(t.get(), table::kActionToggle);
  EXPECT_TRUE(Selected(*t).empty());
  Run(t.get(), table::kActionToggleAndNext);  // toggles 4, then one forward
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{4});
  EXPECT_EQ(table::CursorIndex(*t), 5);
  Run(t.get(), table::kActionSelect);
  Run(t.get(), table::kActionBackAndDeselect);  // one back, then deselects 4
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{5});
  EXPECT_EQ(table::CursorIndex(*t), 4);
  Run(t.get(), table::kActionSelectAll);
  EXPECT_EQ(t->selectedCount(), 10);
  Run(t.get(), table::kActionDeselectAll);
  EXPECT_EQ(t->selectedCount(), 0);
  Run(t.get(), table::kActionFirstMove + 13);  // movement kind 13
  EXPECT_EQ(table::CursorIndex(*t), 5);
}

TEST_F(KeyActionsTest, CursorActionsDoNothingOnAnEmptyList) {
  auto t = OpenWith(3, true, 300, 110);
  t->ClearEntries();
  for (int32_t a : {100, 101, 102, 127, 128, 103, 115, 11, 12, 130})
    EXPECT_EQ(Run(t.get(), a).kind, ActionRequest::kNone) << a;
  EXPECT_TRUE(surface_.redrawn.empty());
  EXPECT_EQ(t->selectedCount(), 0);
}

TEST_F(KeyActionsTest, ParentDirectoryClearsTheSelectionAndAsksToOpenDotDot) {
  auto t = OpenWith(5, true, 300, 110);
  table::SelectAll(*t, nullptr);
  ActionRequest r = Run(t.get(), table::kActionParentDirectory);
  EXPECT_EQ(t->selectedCount(), 0);
  ASSERT_EQ(r.kind, ActionRequest::kOpenEntry);
  EXPECT_EQ(r.entry->Data()->name, "..");
  auto root = Open(dir_.Dir().substr(0, 3));  // a drive root has no ".."
  EXPECT_EQ(Run(root.get(), table::kActionParentDirectory).kind, ActionRequest::kNone);
}

TEST_F(KeyActionsTest, RunWithCursorSelectsTheCursorWhenNothingIsSelected) {
  auto t = OpenWith(5, true, 300, 110);
  t->SetCursor(At(*t, 3));
  ActionRequest r = Run(t.get(), table::kActionRunWithCursor, "viewer.exe");
  EXPECT_EQ(r.kind, ActionRequest::kRunCommandLine);
  EXPECT_EQ(r.argument, "viewer.exe");
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{3});
  t->SetCursor(At(*t, 5));
  Run(t.get(), table::kActionRunWithCursor, "viewer.exe");
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{3});  // a selection stays as it is
}

TEST_F(KeyActionsTest, ReloadListsNewFiles) {
  auto t = OpenWith(2, true, 300, 110);
  MakeFile("new.txt");
  Run(t.get(), table::kActionReload);
  EXPECT_EQ(t->EntryCount(), 4);
  EXPECT_NE(t->FindEntryByName("new.txt"), nullptr);
}

TEST_F(KeyActionsTest, OnKeyConsumesBoundKeysOnlyAndIgnoresLoneModifiers) {
  auto t = OpenWith(5, true, 300, 110);
  table::KeyBindings keys;
  keys.Bind({16, 1, table::kActionSelectAll, ""});  // Shift alone: never looked up
  keys.Bind({40, 0, table::kActionFirstMove + 5, ""});
  keys.Bind({115, 0, 3, ""});
  table::KeyResult r = table::OnKey(keys, keyboard_, t.get(), &surface_, 16, table::kModShift);
  EXPECT_FALSE(r.consumed);
  EXPECT_EQ(t->selectedCount(), 0);
  EXPECT_FALSE(table::OnKey(keys, keyboard_, t.get(), &surface_, 41, 0).consumed);
  EXPECT_TRUE(table::OnKey(keys, keyboard_, t.get(), &surface_, 40, 0).consumed);
  EXPECT_EQ(table::CursorIndex(*t), 2);
  r = table::OnKey(keys, keyboard_, t.get(), &surface_, 115, 0);
  EXPECT_EQ(r.request.kind, ActionRequest::kCommand);
  EXPECT_EQ(r.request.command, CMD_FCOPY);
  r = table::OnKey(keys, keyboard_, t.get(), &surface_, 9, 0);  // the built-in Tab
  EXPECT_TRUE(r.consumed);
  EXPECT_EQ(r.request.kind, ActionRequest::kSwitchPane);
  r = table::OnKey(keys, keyboard_, nullptr, nullptr, 115, 0);  // no active table
  EXPECT_EQ(r.request.command, CMD_FCOPY);
  // Modifier bits beyond Shift, Ctrl and Alt do not hide a binding.
  EXPECT_TRUE(table::OnKey(keys, keyboard_, t.get(), &surface_, 115, 0xF8).consumed);
}

TEST_F(KeyActionsTest, ContextMenuAtCursorSelectsTheTargetForTheMenuOnly) {
  auto t = OpenWith(6, false, 420, 250);
  t->SetCursor(At(*t, 3));
  table::BINFO* e = At(*t, 3);
  bool shown = false;
  table::ContextMenuAtCursor(*t, &surface_, view_.client, [&](table::Point p) {
    shown = true;
    EXPECT_TRUE(e->Data()->IsSelected());
    EXPECT_EQ(p.x, e->x + e->width / 2 - t->origin().x);
    EXPECT_EQ(p.y, e->y + e->height / 2 - t->origin().y);
  });
  EXPECT_TRUE(shown);
  EXPECT_EQ(t->selectedCount(), 0);

  // With a selection the first selected entry is the target, and it stays selected.
  table::Select(*t, At(*t, 5), nullptr);
  table::ContextMenuAtCursor(*t, &surface_, view_.client, [&](table::Point p) {
    EXPECT_EQ(p.x, At(*t, 5)->x + At(*t, 5)->width / 2);
  });
  EXPECT_EQ(Selected(*t), std::vector<int32_t>{5});

  // The cursor on "..": no target, the menu at (-1, -1).
  table::DeselectAll(*t, nullptr);
  t->SetCursor(At(*t, 1));
  table::ContextMenuAtCursor(*t, &surface_, view_.client, [&](table::Point p) {
    EXPECT_EQ(p, (table::Point{-1, -1}));
  });
  EXPECT_EQ(t->selectedCount(), 0);
}

TEST_F(KeyActionsTest, ContextMenuPointIsClampedToTheClientArea) {
  auto t = OpenWith(40, false, 420, 250);
  table::BINFO* far = At(*t, 40);  // row 9, far below the client area
  table::Point p = table::MenuPointFor(*t, far, view_.client);
  EXPECT_EQ(p.y, 249);
  t->SetOrigin({0, far->y + 1000});
  p = table::MenuPointFor(*t, far, view_.client);
  EXPECT_EQ(p.y, 0);
  EXPECT_EQ(table::MenuPointFor(*t, nullptr, view_.client), (table::Point{-1, -1}));
}

TEST_F(KeyActionsTest, ContextMenuWhoseCommandReloadsTheListLeavesTheNewListAlone) {
  auto t = OpenWith(6, true, 300, 110);
  t->SetCursor(At(*t, 3));
  table::ContextMenuAtCursor(*t, &surface_, view_.client, [&](table::Point) { t->Reload(); });
  EXPECT_EQ(t->selectedCount(), 0);
  EXPECT_TRUE(Selected(*t).empty());
}

}  // namespace
