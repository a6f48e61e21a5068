// Cursor movement of a file table: the sixteen movement kinds of the keyboard in icon mode
// (rows of N entries, L rows to a page, scrolled vertically) and list mode (columns of N
// entries, L columns to a page, scrolled horizontally). A "line" is a row in icon mode and a
// column in list mode; the line of an entry follows from its index (1-based): the first entry
// of a line has index = 1 (mod N).
//
// Rules common to every kind: no move passes the first or the last entry; a one-line move with
// fewer than N entries left in its direction does not move; a page move goes L whole lines, and
// to the first or the last entry when less than a page is left in its direction.
#pragma once
#include <cstdint>
#include <optional>

#include "table/pane_surface.h"
#include "table/selection.h"
#include "table/sorm.h"

namespace table {

// Movement kinds 0 to 15; kinds 16 to 23 (and any other) do not move.
constexpr int kMoveKindCount = 16;

// Where the cursor stands, in index terms.
struct MoveGrid {
  int32_t index = 1;         // the cursor's index
  int32_t count = 0;         // entries in the list
  int32_t perLine = 1;       // N
  int32_t linesPerPage = 1;  // L
  int32_t firstLine = 0;     // the first line wholly in view (0-based)
};

// How the view follows a move.
enum class MoveScroll : uint8_t {
  kShow,         // the new cursor is brought into view if it is not
  kStep,         // a one-step move: one line of scrolling when the cursor stepped just out of view
  kPageBack,     // a page move: the view scrolls one page with it
  kPageForward,
};

struct MovePlan {
  int32_t target = 0;  // the new cursor index; equal to the grid's index when nothing moves
  MoveScroll scroll = MoveScroll::kShow;
  bool operator==(const MovePlan&) const = default;
};

// The 0-based line of an index.
int32_t LineOf(int32_t index, int32_t perLine);
// The first line wholly in view when the origin along the scroll axis is origin.
int32_t FirstWholeLine(int32_t origin, int32_t cell);

// The move of kind in a mode (pure).
MovePlan PlanMove(int kind, bool listMode, const MoveGrid& g);

// A scroll step for ScrollStep(kind, position).
struct ScrollRequest {
  int kind = 0;
  int32_t position = 0;
  bool operator==(const ScrollRequest&) const = default;
};
// The scroll that brings line into view, none when it is in view: one line step when it lies
// just before or after the lines in view, else a jump that puts it at the edge it came from.
std::optional<ScrollRequest> ScrollToShow(int32_t line, int32_t firstLine, int32_t linesPerPage);

// The grid of a table as its layout left it.
MoveGrid GridOf(const Sorm& t);

// Carries out movement kind on the table: with a range under way in this table, the selection
// follows (ExtendRange); the entry left and the new cursor are drawn again; the view scrolls
// as the plan says and, after a page move, so that the cursor stays in view. Without a cursor
// (an empty list) nothing happens. True when the cursor moved.
bool MoveCursor(Sorm& t, int kind, const RangeState& range, PaneSurface* surface);

}  // namespace table
