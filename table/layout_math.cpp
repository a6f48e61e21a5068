#include "table/layout_math.h"

namespace table {

Point StartPosition(bool listMode) { return listMode ? Point{0, 0} : Point{16, 0}; }

Point AdvancePosition(Point p, bool listMode, const LayoutMetrics& m) {
  if (listMode) {
    p.y += m.cellHeight;
    if (p.y > m.cellHeight * (m.perLine - 1) + 1) {
      p.x += m.cellWidth;
      p.y = 0;
    }
  } else {
    p.x += m.cellWidth;
    if (p.x > m.perLine * m.cellWidth - 24) {
      p.y += m.cellHeight;
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
