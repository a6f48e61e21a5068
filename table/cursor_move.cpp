#include "table/cursor_move.h"

#include <algorithm>

namespace table {
namespace {

enum class Step : uint8_t {
  kNone,
  kEntryBack,
  kEntryForward,
  kLineBack,
  kLineForward,
  kPageBack,
  kPageForward,
  kLineStart,
  kLineEnd,
  kTopOfPage,
  kBottomOfPage,
};

// What each kind does in icon mode and in list mode.
constexpr Step kIconSteps[kMoveKindCount] = {
    Step::kPageBack,   Step::kTopOfPage,    Step::kLineBack,    Step::kPageForward,
    Step::kBottomOfPage, Step::kLineForward, Step::kLineStart,  Step::kLineStart,
    Step::kEntryBack,  Step::kLineEnd,      Step::kLineEnd,     Step::kEntryForward,
    Step::kEntryBack,  Step::kEntryForward, Step::kPageBack,    Step::kPageForward,
};
constexpr Step kListSteps[kMoveKindCount] = {
    Step::kLineStart,  Step::kLineStart,    Step::kEntryBack,   Step::kLineEnd,
    Step::kLineEnd,    Step::kEntryForward, Step::kPageBack,    Step::kTopOfPage,
    Step::kLineBack,   Step::kPageForward,  Step::kBottomOfPage, Step::kLineForward,
    Step::kEntryBack,  Step::kEntryForward, Step::kPageBack,    Step::kPageForward,
};

// Whole lines of n entries from i, at most max of them, that stay inside 1..count.
int32_t Lines(int32_t i, int32_t count, int32_t n, int32_t direction, int32_t max) {
  int32_t k = 0;
  while (k < max) {
    int64_t next = static_cast<int64_t>(i) + static_cast<int64_t>(direction) * n * (k + 1);
    if (next < 1 || next > count) break;
    ++k;
  }
  return i + direction * n * k;
}

// A page of max lines of n entries from i; when less than a page is left in the direction,
// the first or the last entry.
int32_t Page(int32_t i, int32_t count, int32_t n, int32_t direction, int32_t max) {
  const int64_t next = static_cast<int64_t>(i) + static_cast<int64_t>(direction) * n * max;
  if (next < 1) return 1;
  if (next > count) return count;
  return static_cast<int32_t>(next);
}

}  // namespace

int32_t LineOf(int32_t index, int32_t perLine) {
  return perLine > 0 && index > 0 ? (index - 1) / perLine : 0;
}

int32_t FirstWholeLine(int32_t origin, int32_t cell) {
  if (cell <= 0 || origin <= 0) return 0;
  return static_cast<int32_t>((static_cast<int64_t>(origin) + cell - 1) / cell);
}

MovePlan PlanMove(int kind, bool listMode, const MoveGrid& g) {
  const int32_t i = g.index;
  MovePlan plan{i, MoveScroll::kShow};
  if (kind < 0 || kind >= kMoveKindCount || g.count <= 0 || i < 1 || i > g.count) return plan;
  const int32_t n = std::max<int32_t>(g.perLine, 1);
  const int32_t pageLines = std::max<int32_t>(g.linesPerPage, 1);
  const int32_t line = LineOf(i, n);
  const int32_t lastLineInView = g.firstLine + pageLines - 1;
  switch ((listMode ? kListSteps : kIconSteps)[kind]) {
    case Step::kNone:
      break;
    case Step::kEntryBack:
      plan = {i > 1 ? i - 1 : i, MoveScroll::kStep};
      break;
    case Step::kEntryForward:
      plan = {i < g.count ? i + 1 : i, MoveScroll::kStep};
      break;
    case Step::kLineBack:
      plan = {Lines(i, g.count, n, -1, 1), MoveScroll::kStep};
      break;
    case Step::kLineForward:
      plan = {Lines(i, g.count, n, 1, 1), MoveScroll::kStep};
      break;
    case Step::kPageBack:
      plan = {Page(i, g.count, n, -1, pageLines), MoveScroll::kPageBack};
      break;
    case Step::kPageForward:
      plan = {Page(i, g.count, n, 1, pageLines), MoveScroll::kPageForward};
      break;
    case Step::kLineStart:
      plan.target = line * n + 1;
      break;
    case Step::kLineEnd:
      plan.target = static_cast<int32_t>(
          std::min<int64_t>(static_cast<int64_t>(line + 1) * n, g.count));
      break;
    case Step::kTopOfPage: {
      int32_t t = i;
      while (LineOf(t, n) - 1 >= g.firstLine && t - n >= 1) t -= n;
      plan.target = t;
      break;
    }
    case Step::kBottomOfPage: {
      int32_t t = i;
      while (LineOf(t, n) + 1 <= lastLineInView && static_cast<int64_t>(t) + n <= g.count) t += n;
      plan.target = t;
      break;
    }
  }
  return plan;
}

std::optional<ScrollRequest> ScrollToShow(int32_t line, int32_t firstLine, int32_t linesPerPage) {
  const int32_t pageLines = std::max<int32_t>(linesPerPage, 1);
  const int32_t last = firstLine + pageLines - 1;
  if (line >= firstLine && line <= last) return std::nullopt;
  if (line == firstLine - 1) return ScrollRequest{kLineBack, 0};
  if (line == last + 1) return ScrollRequest{kLineForward, 0};
  if (line < firstLine) return ScrollRequest{kThumbTrack, line};
  return ScrollRequest{kThumbTrack, line - pageLines + 1};
}

MoveGrid GridOf(const Sorm& t) {
  const LayoutMetrics& m = t.metrics();
  MoveGrid g;
  g.index = CursorIndex(t);
  g.count = t.EntryCount();
  g.perLine = std::max<int32_t>(m.perLine, 1);
  g.linesPerPage = std::max<int32_t>(m.linesPerPage, 1);
  g.firstLine = t.listMode() ? FirstWholeLine(t.origin().x, m.cellWidth)
                             : FirstWholeLine(t.origin().y, m.cellHeight);
  return g;
}

namespace {

// Brings the cursor's line into view after a move.
void ShowCursor(const Sorm& t, PaneSurface& surface) {
  MoveGrid g = GridOf(t);
  if (auto r = ScrollToShow(LineOf(g.index, g.perLine), g.firstLine, g.linesPerPage))
    surface.ScrollStep(r->kind, r->position);
}

}  // namespace

bool MoveCursor(Sorm& t, int kind, const RangeState& range, PaneSurface* surface) {
  if (!t.HasCursor()) return false;
  const MoveGrid g = GridOf(t);
  const MovePlan plan = PlanMove(kind, t.listMode(), g);
  const bool ranging = range.ActiveIn(t);
  if (ranging) ExtendRange(t, range.anchor, g.index, plan.target, surface);
  if (plan.target == g.index) return false;
  BINFO* target = t.EntryAt(plan.target);
  if (!t.IsEntry(target)) return false;
  MoveCursorTo(t, target, surface);
  if (!surface) return true;
  if (plan.scroll == MoveScroll::kPageBack) surface->ScrollStep(kPageBack, 0);
  if (plan.scroll == MoveScroll::kPageForward) surface->ScrollStep(kPageForward, 0);
  ShowCursor(t, *surface);
  return true;
}

}  // namespace table
