// Placing the entries of a table: the text lines of each entry, the cell metrics of icon and
// list mode, the positions and the scroll extents. Measured extents are kept in the line nodes;
// lines are built again only when what they show changed, so a relayout after a resize or a
// sort measures nothing.
#include <algorithm>
#include <cstring>
#include <new>

#include "table/layout_text.h"
#include "table/sorm.h"

namespace table {
namespace {

int ColumnOf(int32_t kind) {
  switch (kind) {
    case kSizeLine: return kSizeColumn;
    case kDateLine: return kDateColumn;
    case kTimeLine: return kTimeColumn;
    case kAttrLine: return kAttrColumn;
    default: return kNameColumn;
  }
}

int32_t AtLeastOne(int32_t v) { return v < 1 ? 1 : v; }

}  // namespace

uint32_t Sorm::CurrentLayoutStamp() {
  LineSignature sig;
  sig.viewMode = viewMode_;
  sig.lines = static_cast<uint16_t>(viewInfo_ & (kShowDate | kShowTime | kShowSize | kShowAttributes));
  sig.spacingX = listMode() ? 0 : iconSpacingX_;
  sig.generation = measureGeneration_;
  if (!(sig == lineSignature_)) {
    lineSignature_ = sig;
    if (++layoutStamp_ == 0) layoutStamp_ = 1;  // 0 marks entries never built
  }
  return layoutStamp_;
}

void Sorm::BuildIconNameLines(BINFO* entry, BINFO* first) {
  TextMeasurer& m = view_.Measurer();
  SM_DAT* d = entry->Data();
  const char* name = d->DisplayName();
  const std::size_t len = std::strlen(name);
  TextExtent whole = m.Measure(name, len);
  measured_ = true;

  auto single = [&] {
    first->SetBorrowedText(name, len);
    first->textWidth = whole.width;
    first->textHeight = whole.height;
    first->labelStyle = kLabelSingle;
  };
  std::size_t i = 0;
  while (i < len && name[i] == ' ') ++i;
  if (whole.width <= iconSpacingX_ || i == len) {
    single();
    return;
  }

  // Wrap at blanks: a word joins the line while the line and the word (without the blank)
  // stay narrower than the spacing; otherwise it starts the next line.
  BINFO* line = first;
  std::size_t lineStart = i;
  std::size_t j = i;
  while (j < len && name[j] != ' ') ++j;
  std::size_t lineEnd = j;
  TextExtent current = m.Measure(name + i, j - i);
  auto finish = [&] {
    line->SetBorrowedText(name + lineStart, lineEnd - lineStart);
    line->textWidth = current.width;
    line->textHeight = current.height;
    line->labelStyle = kLabelWrapped;
  };
  for (i = j;;) {
    while (i < len && name[i] == ' ') ++i;
    if (i == len) break;
    j = i;
    while (j < len && name[j] != ' ') ++j;
    TextExtent word = m.Measure(name + i, j - i);
    if (current.width + word.width < iconSpacingX_) {
      lineEnd = j;
      current = m.Measure(name + lineStart, lineEnd - lineStart);
    } else {
      finish();
      line = new BINFO(entry, kNameLine);
      line->payload = d;
      lineStart = i;
      lineEnd = j;
      current = word;
    }
    i = j;
  }
  finish();
}

void Sorm::AddExtraLines(BINFO* entry) {
  TextMeasurer& m = view_.Measurer();
  const SM_DAT& d = *entry->Data();
  const bool list = listMode();
  auto add = [&](int32_t kind, const std::string& text) {
    BINFO* line = new BINFO(entry, kind);
    line->SetOwnedText(text.data(), text.size());
    TextExtent e = m.Measure(line->text, line->textLength);
    measured_ = true;
    line->textWidth = e.width;
    line->textHeight = e.height;
  };
  if (viewInfo_ & kShowSize) add(kSizeLine, SizeLineText(d, list));
  if (viewInfo_ & kShowDate) add(kDateLine, DateLineText(d.date, list));
  if (viewInfo_ & kShowTime) add(kTimeLine, TimeLineText(d.time, list));
  if (viewInfo_ & kShowAttributes) add(kAttrLine, AttrLineText(d.attributes, list));
}

void Sorm::RebuildLines(BINFO* entry) {
  SM_DAT* d = entry->Data();
  if (!entry->HasChildren()) {
    BINFO* line = new BINFO(entry, kNameLine);
    line->payload = d;
  }
  BINFO* first = entry->FirstChildNode();
  while (entry->LastChild() != first) delete entry->LastChild();
  if (listMode()) {
    const char* name = d->DisplayName();
    const std::size_t len = std::strlen(name);
    first->SetBorrowedText(name, len);
    TextExtent e = view_.Measurer().Measure(name, len);
    measured_ = true;
    first->textWidth = e.width;
    first->textHeight = e.height;
    first->labelStyle = kLabelList;
  } else {
    BuildIconNameLines(entry, first);
  }
  AddExtraLines(entry);
  entry->layoutStamp = layoutStamp_;
  entry->linesWidest = entry->linesNameHeight = entry->linesHeight = 0;
  BINFO* c = first;
  do {
    entry->linesWidest = std::max(entry->linesWidest, c->textWidth);
    entry->linesHeight += c->textHeight;
    if (c->kind == kNameLine) entry->linesNameHeight += c->textHeight;
    c = c->NextNode();
  } while (c != first);
}

void Sorm::MeasureIconMetrics(const ClientSize& client) {
  LayoutMetrics& m = metrics_;
  m.cellWidth = iconSpacingX_;
  m.cellHeight = iconSpacingY_;
  m.entryWidth = m.entryHeight = iconMetrics_.largeHeight + 6;
  int32_t widest = iconSpacingX_;
  for (BINFO* e : Entries()) {
    if (e->layoutStamp != layoutStamp_) RebuildLines(e);
    widest = std::max(widest, e->linesWidest);
    m.cellHeight = std::max(m.cellHeight, m.entryHeight + e->linesNameHeight + 17);
    m.cellHeight = std::max(m.cellHeight, m.entryHeight + e->linesHeight + 1);
  }
  if (autoAdjust_) {
    m.cellWidth = widest + 8;
    m.perLine = AtLeastOne((client.width - 16) / m.cellWidth);
  } else {
    m.cellWidth = iconSpacingX_;
    m.cellHeight = iconSpacingY_;
    m.perLine = AtLeastOne(client.width / m.cellWidth);
  }
  m.linesPerPage = AtLeastOne(client.height / m.cellHeight);
}

void Sorm::MeasureListMetrics(const ClientSize& client) {
  LayoutMetrics& m = metrics_;
  std::fill(std::begin(m.columns), std::end(m.columns), 0);
  int32_t tallest = 0;
  for (BINFO* e : Entries()) {
    if (e->layoutStamp != layoutStamp_) RebuildLines(e);
    BINFO* first = e->FirstChildNode();
    BINFO* c = first;
    do {
      int col = ColumnOf(c->kind);
      int32_t w = col == kNameColumn ? c->textWidth + 3 : c->textWidth;
      m.columns[col] = std::max(m.columns[col], w);
      tallest = std::max(tallest, c->textHeight);
      c = c->NextNode();
    } while (c != first);
  }
  const int32_t small = iconMetrics_.smallWidth;
  int32_t sum = 0;
  for (int32_t w : m.columns) sum += w;
  m.cellWidth = m.entryWidth = small + sum + 8;
  if (small < tallest) {
    m.cellHeight = m.entryHeight = tallest + 6;
    m.textOffset = 3;
  } else {
    m.cellHeight = m.entryHeight = small + 6;
    m.textOffset = (m.cellHeight - tallest) / 2;
  }
  m.perLine = AtLeastOne(client.height / m.cellHeight);
  m.linesPerPage = AtLeastOne(client.width / m.cellWidth);
}

void Sorm::PlaceEntries() {
  const LayoutMetrics& m = metrics_;
  const bool list = listMode();
  const int32_t small = iconMetrics_.smallWidth;
  Point p = StartPosition(list);
  for (BINFO* e : Entries()) {
    e->x = p.x;
    e->y = p.y;
    BINFO* first = e->FirstChildNode();
    if (list) {
      first->width = first->textWidth + 3;
      first->height = first->textHeight;
      e->height = m.cellHeight;
      e->width = first->width + small + 5;
      const int32_t nameX = e->x + small + 5;
      first->x = nameX;
      first->y = e->y + m.textOffset;
      const int32_t sizeEnd = nameX + m.columns[kNameColumn] + m.columns[kSizeColumn];
      for (BINFO* c = first->NextNode(); c != first; c = c->NextNode()) {
        c->y = first->y;
        c->width = c->textWidth;
        c->height = c->textHeight;
        switch (c->kind) {
          case kSizeLine:
            c->x = sizeEnd - c->textWidth;  // right-aligned in its column
            c->width = 0;
            break;
          case kDateLine: c->x = sizeEnd; break;
          case kTimeLine: c->x = sizeEnd + m.columns[kDateColumn]; break;
          default: c->x = sizeEnd + m.columns[kDateColumn] + m.columns[kTimeColumn]; break;
        }
      }
    } else {
      e->width = m.entryWidth;
      e->height = m.entryHeight;
      int32_t lineY = e->y + e->height + 1;
      BINFO* c = first;
      do {
        c->x = e->x;
        c->y = lineY;
        c->width = c->textWidth;
        c->height = c->textHeight;
        lineY = c->y + c->height;
        c = c->NextNode();
      } while (c != first);
    }
    p = AdvancePosition(p, list, m);
  }
}

int Sorm::Layout() {
  const ClientSize client = view_.GetClientSize();
  pageSize_ = client;
  const int32_t oldPerLine = metrics_.perLine;
  const Point oldOrigin = origin_;
  BINFO* visible = FirstVisibleEntry();
  if (!visible) visible = FirstEntry();

  measured_ = false;
  try {
    CurrentLayoutStamp();
    if (listMode()) MeasureListMetrics(client);
    else MeasureIconMetrics(client);
  } catch (const std::bad_alloc&) {
    view_.FatalError(kMemoryErrorText);
  }
  if (measured_) view_.Measurer().Release();
  PlaceEntries();

  const LayoutMetrics& m = metrics_;
  const bool empty = entryCount_ == 0;
  const Point last = empty ? Point{0, 0} : Point{LastEntry()->x, LastEntry()->y};
  const Point first = (empty || !IsEntry(visible)) ? Point{0, 0} : Point{visible->x, visible->y};
  // The scroll axis is y in icon mode and x in list mode; the other bar is hidden (1 to 1).
  const bool list = listMode();
  const int32_t cell = list ? m.cellWidth : m.cellHeight;
  const int32_t extent = (list ? last.x : last.y) + cell;
  int32_t along = list ? first.x : first.y;
  int32_t lines = (extent - m.linesPerPage * cell) / cell;
  if (lines < 1) {
    along = 0;
    lines = 0;
  }
  extentWidth_ = list ? extent : client.width;
  extentHeight_ = list ? client.height : extent;
  origin_ = list ? Point{along, 0} : Point{0, along};
  ScrollBars bars;
  int32_t& hiddenMin = list ? bars.verticalMin : bars.horizontalMin;
  int32_t& hiddenMax = list ? bars.verticalMax : bars.horizontalMax;
  hiddenMin = hiddenMax = 1;
  (list ? bars.horizontalMax : bars.verticalMax) = lines;
  (list ? bars.horizontalPos : bars.verticalPos) = ScrollBarPosition(along, cell);
  view_.SetScrollBars(bars);
  return (origin_ == oldOrigin && m.perLine == oldPerLine) ? 0 : 1;
}

}  // namespace table
