// What a file table asks of the window that shows it. The table never touches windows itself:
// the pane window implements this; tests implement it with a recorder.
#pragma once
#include <cstdint>
#include <string>

#include "table/text_measure.h"

namespace table {

struct ClientSize {
  int32_t width = 0;
  int32_t height = 0;
};

// System metrics read once when the table is made (SM_CXICON, SM_CYICON, SM_CXSMICON).
struct IconMetrics {
  int32_t largeWidth = 32;
  int32_t largeHeight = 32;
  int32_t smallWidth = 16;
};

// Ranges and positions for both scroll bars; a bar with range 1 to 1 is hidden.
struct ScrollBars {
  int32_t horizontalMin = 0;
  int32_t horizontalMax = 0;
  int32_t horizontalPos = 0;
  int32_t verticalMin = 0;
  int32_t verticalMax = 0;
  int32_t verticalPos = 0;
};

class TableView {
 public:
  virtual ~TableView() = default;

  // The pane window's client rectangle.
  virtual ClientSize GetClientSize() = 0;
  virtual IconMetrics GetIconMetrics() { return IconMetrics(); }
  // Measures text in the pane's font.
  virtual TextMeasurer& Measurer() = 0;
  // Sets both scroll bars (painting suppressed while the ranges change).
  virtual void SetScrollBars(const ScrollBars& bars) = 0;
  // Invalidates the whole pane and updates it.
  virtual void Repaint() = 0;
  // The table's error box: the frame comes to the front, then an OK box captioned "ソルモ".
  virtual void ErrorBox(const char* text) = 0;
  // Shows the memory error and ends the process; does not return in the program.
  virtual void FatalError(const char* text) = 0;
  // The status bar's selection and count text of this pane needs refreshing.
  virtual void UpdateSelectionText() = 0;
  // The sort order changed: the menu check mark moves from the old order to the new one.
  virtual void SortOrderChanged(int16_t oldId, int16_t newId) {}
  // The title text: the frame caption when this is the active pane, and the pane's own path
  // bar in two-pane mode.
  virtual void ShowTitle(const std::string& title, const std::string& directory) {}
  // ReloadKeepPosition closes the pane's change monitor before its rescan and arms it again on
  // the table's path afterwards.
  virtual void CloseChangeMonitor() {}
  virtual void ArmChangeMonitor(const std::string& path) {}
};

}  // namespace table
