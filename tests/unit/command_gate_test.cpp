// One command at a time: the gate refuses a second command while the first holds it, work and
// closing wait for the end of the running command, and a close cancels it first.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/command_gate.h"

namespace {

using frame::CommandGate;

TEST(CommandGate, ASecondCommandIsRefusedUntilTheFirstEnds) {
  CommandGate gate;
  {
    CommandGate::Scope first = gate.Enter();
    ASSERT_TRUE(first);
    EXPECT_TRUE(gate.Busy());
    for (int attempt = 0; attempt < 3; ++attempt) {
      CommandGate::Scope second = gate.Enter();
      EXPECT_FALSE(second) << "attempt " << attempt;
      EXPECT_TRUE(gate.Busy()) << "a refused scope must not free the gate";
    }
    // Handing the scope on keeps the gate held exactly once.
    CommandGate::Scope moved(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_TRUE(moved);
    EXPECT_FALSE(gate.Enter());
  }
  EXPECT_FALSE(gate.Busy());
  EXPECT_TRUE(gate.Enter());
}

TEST(CommandGate, WorkWaitsForTheEndOfTheRunningCommand) {
  struct Case {
    const char* name;
    bool busy;
    std::vector<std::string> beforeEnd, afterEnd;
  } cases[] = {
      {"no command runs", false, {"a", "b"}, {"a", "b"}},
      {"a command runs", true, {}, {"a", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandGate gate;
    std::vector<std::string> done;
    {
      CommandGate::Scope scope = c.busy ? gate.Enter() : CommandGate::Scope();
      gate.WhenIdle([&] { done.push_back("a"); });
      gate.WhenIdle([&] { done.push_back("b"); });
      EXPECT_EQ(done, c.beforeEnd);
    }
    EXPECT_EQ(done, c.afterEnd);
  }
}

TEST(CommandGate, WorkAfterTheEndMayStartACommand) {
  CommandGate gate;
  bool entered = false;
  {
    CommandGate::Scope scope = gate.Enter();
    gate.WhenIdle([&] {
      CommandGate::Scope next = gate.Enter();
      entered = static_cast<bool>(next);
    });
  }
  EXPECT_TRUE(entered);
  EXPECT_FALSE(gate.Busy());
}

TEST(CommandGate, CloseCancelsTheRunningCommandAndClosesOnceAfterIt) {
  struct Case {
    const char* name;
    bool busy;
    int closeRequests;
    bool hookBeforeClose;  // the command has its dialogs when the close comes
    bool closeNow;
    int cancelsBeforeEnd;
    int closesAfterEnd;
  } cases[] = {
      {"no command", false, 1, false, true, 0, 0},
      {"command with dialogs", true, 1, true, false, 1, 1},
      {"asked three times", true, 3, true, false, 3, 1},
      // A close during the command's input question: the engine is cancelled as soon as the
      // command makes its dialogs.
      {"dialogs made later", true, 1, false, false, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandGate gate;
    int cancels = 0, closes = 0;
    {
      CommandGate::Scope scope = c.busy ? gate.Enter() : CommandGate::Scope();
      std::unique_ptr<CommandGate::CancelHook> hook;
      if (c.hookBeforeClose)
        hook = std::make_unique<CommandGate::CancelHook>(gate, [&] { ++cancels; });
      bool now = false;
      for (int i = 0; i < c.closeRequests; ++i) now = gate.CloseNow([&] { ++closes; });
      EXPECT_EQ(now, c.closeNow);
      EXPECT_EQ(gate.ClosePending(), !c.closeNow);
      if (!c.hookBeforeClose && c.busy)
        hook = std::make_unique<CommandGate::CancelHook>(gate, [&] { ++cancels; });
      EXPECT_EQ(cancels, c.cancelsBeforeEnd);
      EXPECT_EQ(closes, 0) << "never closed under the running command";
    }
    EXPECT_EQ(closes, c.closesAfterEnd);
    EXPECT_FALSE(gate.ClosePending());
  }
}

TEST(CommandGate, CancelReachesOnlyTheCommandThatHasDialogsNow) {
  CommandGate gate;
  int cancels = 0;
  gate.CancelRunning();  // nothing runs
  CommandGate::Scope scope = gate.Enter();
  gate.CancelRunning();  // runs, but has no dialogs yet
  {
    CommandGate::CancelHook hook(gate, [&] { ++cancels; });
    gate.CancelRunning();
    EXPECT_EQ(cancels, 1);
  }
  gate.CancelRunning();  // its dialogs are gone
  EXPECT_EQ(cancels, 1);
}

// A drag holds the gate like a command: nothing else starts, reloads wait, and a close ends
// the drag first; only the drop targets may ask whether the holder is a drag.
TEST(CommandGate, ADragHoldsTheGateAndSaysSo) {
  CommandGate gate;
  std::vector<std::string> done;
  bool dragEnded = false;
  {
    CommandGate::Scope drag = gate.EnterDrag();
    ASSERT_TRUE(drag);
    EXPECT_TRUE(gate.Busy());
    EXPECT_TRUE(gate.Dragging());
    EXPECT_FALSE(gate.Enter()) << "no command inside the drag loop";
    EXPECT_FALSE(gate.EnterDrag()) << "no second drag";
    gate.WhenIdle([&] { done.push_back("reload"); });
    CommandGate::CancelHook hook(gate, [&] { dragEnded = true; });
    EXPECT_FALSE(gate.CloseNow([&] { done.push_back("close"); }));
    EXPECT_TRUE(dragEnded) << "a close ends the drag";
    EXPECT_TRUE(done.empty()) << "nothing runs under the drag";
  }
  EXPECT_EQ(done, (std::vector<std::string>{"reload", "close"}));
  EXPECT_FALSE(gate.Busy());
  EXPECT_FALSE(gate.Dragging());
  // A command is no drag, and a drag cannot start under one.
  {
    CommandGate::Scope command = gate.Enter();
    EXPECT_FALSE(gate.Dragging());
    EXPECT_FALSE(gate.EnterDrag());
  }
  EXPECT_FALSE(gate.Dragging());
}

}  // namespace
