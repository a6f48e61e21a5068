// Drawing one entry of a file table on a device context that has the pane's font selected: its
// cell's background, its icon (or the placeholder of its kind while its own icon is not loaded)
// with the link overlay, its selection and focus frames and its text lines in the colours of a
// text mode. Coordinates are the table's minus its scroll origin. Nothing is measured here: the
// layout keeps every extent in the line nodes.
#pragma once
#include <windows.h>

#include <optional>

#include "frame/gdi_objects_win.h"
#include "frame/paint_rules.h"
#include "frame/underscore_patch_win.h"
#include "table/sorm.h"

namespace frame {

class EntryDrawer {
 public:
  EntryDrawer(table::Sorm& table, const PaneSettings& settings);
  EntryDrawer(const EntryDrawer&) = delete;
  EntryDrawer& operator=(const EntryDrawer&) = delete;

  // The whole cell as a paint draws it: background, icon, frames and text.
  void DrawCell(HDC dc, const table::BINFO& entry, bool activePane);
  void DrawIcon(HDC dc, const table::BINFO& entry);
  void DrawFrame(HDC dc, const table::BINFO& entry, int style);
  // Text lines are cut at the entry's cell, so a long name never draws over its neighbours.
  // Underscores the font leaves out are drawn (UnderscorePatch).
  void DrawText(HDC dc, const table::BINFO& entry, int mode);
  void Fill(HDC dc, const Rect& r, ColourRole role);

 private:
  HBRUSH BrushFor(ColourRole role);
  HICON Placeholder(IconRole role, bool large) const;

  table::Sorm& table_;
  const PaneSettings& settings_;
  const table::PaneIcons& icons_;
  gdi::Brush background_, selection_, focus_;
  std::optional<UnderscorePatch> underscores_;  // for the font of the first text drawn
};

}  // namespace frame
