// Scrolling a file pane: the scroll bar messages, one scroll step of the table's origin with
// the window's pixels moved for a line step and only the uncovered strip painted, and the scroll
// bars set from the table. Painting is suppressed while a bar changes, since showing or hiding
// a bar resizes the client area and lays the table out again in the middle of the change.
#pragma once
#include <windows.h>

#include <cstdint>

#include "table/sorm.h"

namespace frame {

// Kept by the pane window with its table.
struct PaneScrollState {
  bool paintingSuppressed = false;  // the pane's paint handler does not paint while set
  int barsNesting = 0;              // ApplyScrollBars calls under way
};

// table::TableView::SetScrollBars of a pane: the hidden bar first, then the one the table
// scrolls with, each with its range and position in one call.
void ApplyScrollBars(HWND pane, const table::ScrollBars& bars, PaneScrollState& state);

// WM_VSCROLL (vertical) or WM_HSCROLL with its wParam. Only the bar the table scrolls with in
// its view mode acts; the thumb's position is read from the bar in 32 bits.
void HandleScrollMessage(HWND pane, table::Sorm& table, bool vertical, WPARAM wParam,
                         PaneScrollState& state);

// One scroll step of the table: kind is a table::ScrollKind (0 and 1 a line back and forward,
// 2 and 3 a page, 5 the thumb at position). A line step moves the window's pixels and paints
// the uncovered strip; other steps repaint the pane. The bar follows. True when the origin
// moved. Keys and mouse scrolling call it with kinds 0 to 3.
bool ScrollPane(HWND pane, table::Sorm& table, int kind, int32_t position,
                PaneScrollState& state);

}  // namespace frame
