// Scroll bar codes of a pane turned into the scroll steps of its table.
#include "frame/scroll_rules.h"

#include <gtest/gtest.h>

#include "table/layout_math.h"

namespace {

using frame::ScrollRequest;

TEST(ScrollRulesTest, CodesBecomeSteps) {
  const std::optional<ScrollRequest> none;
  struct Case {
    const char* what;
    int code;
    int32_t word, track, pos, max;
    std::optional<ScrollRequest> expected;
  } cases[] = {
      {"line up", 0, 0, 0, 5, 10, ScrollRequest{table::kLineBack, 0}},
      {"line down", 1, 0, 0, 5, 10, ScrollRequest{table::kLineForward, 0}},
      {"page up", 2, 0, 0, 5, 10, ScrollRequest{table::kPageBack, 0}},
      {"page down", 3, 0, 0, 5, 10, ScrollRequest{table::kPageForward, 0}},
      {"thumb dragged", 5, 7, 7, 5, 10, ScrollRequest{table::kThumbTrack, 7}},
      {"thumb dragged far, 32-bit position", 5, 70000 & 0xFFFF, 70000, 5, 90000,
       ScrollRequest{table::kThumbTrack, 70000}},
      {"thumb dragged where it is", 5, 5, 5, 5, 10, none},
      {"thumb let go where dragged", 4, 7, 7, 7, 10, none},
      {"scroll here", 4, 3, 0, 7, 10, ScrollRequest{table::kThumbTrack, 3}},
      {"scroll here, long range", 4, 4464, 70000, 7, 90000,
       ScrollRequest{table::kThumbTrack, 70000}},
      {"top", 6, 0, 0, 7, 10, ScrollRequest{table::kThumbTrack, 0}},
      {"top when at the top", 6, 0, 0, 0, 10, none},
      {"bottom", 7, 0, 0, 2, 10, ScrollRequest{table::kThumbTrack, 10}},
      {"bottom when at the bottom", 7, 0, 0, 10, 10, none},
      {"end of scrolling", 8, 0, 0, 5, 10, none},
      {"unknown code", 9, 0, 0, 5, 10, none},
      {"track position past the range", 5, 0, 12, 5, 10, ScrollRequest{table::kThumbTrack, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(frame::MapScrollCode(c.code, c.word, c.track, c.pos, c.max), c.expected);
  }
}

TEST(ScrollRulesTest, OnlyTheBarOfTheViewModeScrolls) {
  EXPECT_TRUE(frame::BarScrollsTable(true, false));   // icon mode, vertical
  EXPECT_FALSE(frame::BarScrollsTable(false, false));
  EXPECT_TRUE(frame::BarScrollsTable(false, true));   // list mode, horizontal
  EXPECT_FALSE(frame::BarScrollsTable(true, true));
}

}  // namespace
