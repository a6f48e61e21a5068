// The one-pane status bar's message: a hint covers the selection text only while it lasts.
#include "frame/status_message.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusMessage, TheSelectionTextIsBackWhenAHintEnds) {
  const std::string none = "Selected 0 file(s) ( 0 bytes ).";
  const std::string two = "Selected 2 file(s) ( 10 bytes ).";
  const std::string open = "ファイルを開く";
  const std::string copy = "ファイルのコピー";
  enum Kind { kSelection, kHint };
  struct Step {
    Kind kind;
    std::string text;
    std::string shown;
    bool changed;
  } steps[] = {
      {kSelection, none, none, true},
      {kHint, open, open, true},     // a menu item is highlighted
      {kHint, copy, copy, true},     // the next one
      {kHint, "", none, true},       // the menu closed
      {kHint, copy, copy, true},     // a toolbar hint
      {kSelection, two, copy, false},  // the selection changes under the hint
      {kHint, "", two, true},        // the hint ends: the new selection text
      {kHint, "", two, false},       // ending again changes nothing
      {kSelection, two, two, false},
      {kHint, two, two, false},      // a hint equal to the text shown
  };
  frame::StatusMessage m;
  int i = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(i++);
    const bool changed = s.kind == kSelection ? m.SetSelection(s.text) : m.SetHint(s.text);
    EXPECT_EQ(m.Shown(), s.shown);
    EXPECT_EQ(changed, s.changed);
  }
}

}  // namespace
