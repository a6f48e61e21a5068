#include "table/layout_math.h"

namespace table {

Point StartPosition(bool listMode) { return listMode ? Point{0, 0} : Point{16, 0}; }

namespace {
int32_t Advanced(int32_t at, int32_t by) {
  const int64_t next = static_cast<int64_t>(at) + by;
  return next > kMaxLayoutCoordinate ? kMaxLayoutCoordinate : static_cast<int32_t>(next);
}
}  // namespace

Point AdvancePosition(Point p, bool listMode, const LayoutMetrics& m) {
  // Within a row or column the products stay small: perLine is what fits in the client.
  const int64_t lineEnd = static_cast<int64_t>(m.perLine) * m.cellWidth - 24;
  const int64_t columnEnd = static_cast<int64_t>(m.cellHeight) * (m.perLine - 1) + 1;
  if (listMode) {
    p.y = Advanced(p.y, m.cellHeight);
    if (p.y > columnEnd) {
      p.x = Advanced(p.x, m.cellWidth);
      p.y = 0;
    }
  } else {
    p.x = Advanced(p.x, m.cellWidth);
    if (p.x > lineEnd) {
      p.y = Advanced(p.y, m.cellHeight);
      p.x = 16;
    }
  }
  return p;
}

ScrollMove ComputeScroll(int kind, int32_t position, int32_t origin, int32_t extent,
                         int32_t client, int32_t cell, int32_t linesPerPage) {
  ScrollMove m;
  m.origin = origin;
  switch (kind) {
    case kLineBack:
    case kPageBack: {
      if (origin == 0) return m;
      int32_t step = kind == kLineBack ? cell : cell * linesPerPage;
      m.origin = origin - step < 0 ? 0 : origin - step;
      m.lineStep = kind == kLineBack;
      break;
    }
    case kLineForward:
    case kPageForward:
      if (origin >= extent - client) return m;
      m.origin = origin + (kind == kLineForward ? cell : cell * linesPerPage);
      m.lineStep = kind == kLineForward;
      break;
    case kThumbTrack:
      m.origin = position * cell;
      break;
    default:
      return m;
  }
  m.moves = m.origin != origin;
  return m;
}

int32_t ScrollBarPosition(int32_t origin, int32_t cell) {
  if (cell <= 0) return 0;
  int32_t pos = origin / cell;
  return pos < 0 ? 0 : pos;
}

}  // namespace table
