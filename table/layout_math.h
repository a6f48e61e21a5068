// The layout arithmetic shared by the scan, the layout and the painter: metrics, the position
// advance rule and scrolling.
#pragma once
#include <cstdint>

namespace table {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const Point&) const = default;
};

// Column order of list mode.
enum Column { kNameColumn = 0, kSizeColumn, kDateColumn, kTimeColumn, kAttrColumn, kColumnCount };

struct LayoutMetrics {
  int32_t cellWidth = 0;    // icon mode: grid pitch; list mode: column width
  int32_t cellHeight = 0;   // icon mode: grid pitch; list mode: line height
  int32_t entryWidth = 0;   // icon mode: the icon rectangle; list mode: the cell
  int32_t entryHeight = 0;
  int32_t perLine = 1;       // icon mode: entries in a row; list mode: lines in a column
  int32_t linesPerPage = 1;  // icon mode: rows in the client; list mode: columns in it
  int32_t textOffset = 0;    // list mode: text distance from the top of a line
  int32_t columns[kColumnCount] = {};  // list mode column widths
};

// Positions stop growing here, whatever the number of entries and the spacing: what the layout
// adds to a position (a cell, an entry's lines, a page) then stays far from overflowing.
constexpr int32_t kMaxLayoutCoordinate = INT32_MAX / 2;

// Icon mode starts at (16, 0), list mode at (0, 0).
Point StartPosition(bool listMode);

// Icon mode: x grows by the cell width; past perLine * cellWidth - 24 the next row starts at
// x 16. List mode: y grows by the cell height; past cellHeight * (perLine - 1) + 1 the next
// column starts at y 0. A row or column past kMaxLayoutCoordinate stays there.
Point AdvancePosition(Point p, bool listMode, const LayoutMetrics& m);

// Scroll bar codes (SB_LINEUP ... SB_THUMBTRACK).
enum ScrollKind { kLineBack = 0, kLineForward = 1, kPageBack = 2, kPageForward = 3, kThumbTrack = 5 };

struct ScrollMove {
  bool moves = false;     // false: the origin stays
  int32_t origin = 0;     // the new origin along the scroll axis
  bool lineStep = false;  // a line step moves the window content instead of repainting all
};

// One scroll request along the axis (y in icon mode, x in list mode): line steps move by one
// cell, page steps by cell * linesPerPage, the thumb sets position * cell. Forward steps act
// only while origin < extent - client; backward steps only while origin is not 0 and stop at 0.
ScrollMove ComputeScroll(int kind, int32_t position, int32_t origin, int32_t extent,
                         int32_t client, int32_t cell, int32_t linesPerPage);

// The scroll bar position for an origin: origin / cell, not below 0.
int32_t ScrollBarPosition(int32_t origin, int32_t cell);

}  // namespace table
