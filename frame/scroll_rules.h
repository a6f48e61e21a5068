// The scroll bar requests of a pane, turned into the scroll steps of its file table.
#pragma once
#include <cstdint>
#include <optional>

namespace frame {

// Scroll bar notification codes (SB_LINEUP ... SB_ENDSCROLL).
enum ScrollCode : int {
  kCodeLineUp = 0,
  kCodeLineDown = 1,
  kCodePageUp = 2,
  kCodePageDown = 3,
  kCodeThumbPosition = 4,
  kCodeThumbTrack = 5,
  kCodeTop = 6,
  kCodeBottom = 7,
  kCodeEndScroll = 8,
};

// A step of table::ComputeScroll: its kind (table::ScrollKind) and thumb position.
struct ScrollRequest {
  int kind = 0;
  int32_t position = 0;
  bool operator==(const ScrollRequest&) const = default;
};

// The step for a scroll bar code. wordPosition is the 16-bit position the message carries,
// trackPosition the bar's 32-bit tracking position, barPosition and barMax the bar's position
// and the end of its range. Line and page codes pass through; the dragged thumb sets the
// position it is at; the thumb let go somewhere else than it was dragged to ("scroll here"),
// the top and the bottom become thumb positions; the rest (the end of scrolling, the thumb let
// go where it was dragged to) is nothing.
std::optional<ScrollRequest> MapScrollCode(int code, int32_t wordPosition, int32_t trackPosition,
                                           int32_t barPosition, int32_t barMax);

// A pane scrolls with its vertical bar in icon mode and its horizontal bar in list mode; the
// other bar is hidden and its messages do nothing.
inline bool BarScrollsTable(bool verticalBar, bool listMode) { return verticalBar != listMode; }

}  // namespace frame
