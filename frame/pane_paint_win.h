// Painting a file pane: the entries a rectangle of the pane shows, found without walking the
// list, drawn with their icons, frames and texts, and the background around them, so that no
// pixel of the rectangle keeps what was there before. A paint draws into an off-screen bitmap
// and copies it to the window in one step.
#pragma once
#include <windows.h>

#include <vector>

#include "frame/entry_draw_win.h"
#include "frame/gdi_objects_win.h"
#include "frame/pane_settings.h"
#include "table/sorm.h"

namespace frame {

class PanePainter {
 public:
  // dc: the pane's paint or window device context. activePane: the pane is the application's
  // active one, so its cursor entry shows the focus frame.
  PanePainter(HDC dc, table::Sorm& table, const PaneSettings& settings, bool activePane);
  ~PanePainter();
  PanePainter(const PanePainter&) = delete;
  PanePainter& operator=(const PanePainter&) = delete;

  // Paints area (client coordinates) and records the last entry the client area shows as the
  // table's last painted index.
  void Paint(const RECT& area);
  // Draws one entry's cell anew (background, icon, frames, text); nothing for an entry outside
  // the client area.
  void RedrawEntry(const table::BINFO* entry);
  // Draws or erases one of the frame styles on an entry rectangle (frame::FrameStyle).
  void DrawEntryFrame(const table::BINFO* entry, int style);
  // Draws an entry's text in a text mode (frame::TextMode); other modes draw nothing.
  void DrawEntryText(const table::BINFO* entry, int mode);

 private:
  void PaintOn(HDC dc, const Rect& area);
  bool Visible(const table::BINFO* entry) const;

  HDC dc_;
  table::Sorm& table_;
  bool active_;
  gdi::SavedState saved_;
  gdi::Font font_;
  gdi::Selection fontSelection_;
  EntryDrawer drawer_;
  std::vector<const table::BINFO*> drawn_;
  std::vector<Rect> cells_;
  std::vector<Rect> fills_;
};

// WM_PAINT of a pane window: paints the update area from the table, or with the background
// while the pane has no table yet. While painting is suppressed it does nothing and leaves the
// area invalid, to be painted once the flag is clear again.
void PaintPaneWindow(HWND pane, table::Sorm* table, const PaneSettings& settings,
                     bool activePane, bool paintingSuppressed);

// One entry drawn again on the pane window's device context (cursor moves, selection changes).
void RedrawPaneEntry(HWND pane, table::Sorm& table, const PaneSettings& settings,
                     bool activePane, const table::BINFO* entry);
void DrawPaneEntryFrame(HWND pane, table::Sorm& table, const PaneSettings& settings,
                        const table::BINFO* entry, int style);
void DrawPaneEntryText(HWND pane, table::Sorm& table, const PaneSettings& settings,
                       const table::BINFO* entry, int mode);

}  // namespace frame
