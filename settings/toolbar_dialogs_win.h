// The toolbar editor (layout 1: the available buttons and the toolbar's, owner-drawn with their
// pictures) and the bar settings dialog (layout 30055: toolbar shown and its edge, status bar
// shown).
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "settings/toolbar_editor_model.h"
#include "settings/bar_settings.h"
#include "frame/gdi_objects_win.h"
#include "fw/dialog.h"

class ToolbarEditDialog : public fw::Dialog {
 public:
  ToolbarEditDialog();
  // On OK: the value was written to "BarSettings", "ToolBar" under the configuration lock.
  // False when the lock could not be had (the dialog then stays open).
  bool written = false;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR* result) override;
  void OnOK() override;

 private:
  void Fill(int availableSel, int toolbarSel) const;
  int Sel(int list) const;
  void Draw(const DRAWITEMSTRUCT& d) const;
  std::unique_ptr<settings::ToolbarEditorModel> model_;
  std::vector<frame::gdi::Bitmap> pictures_;  // per choice; none for the separator
};

class BarsDialog : public fw::Dialog {
 public:
  BarsDialog();
  bool toolBar = true;
  bool statusBar = true;
  settings::ToolBarEdge edge = settings::ToolBarEdge::kTop;

 protected:
  bool OnInit() override;
  void OnOK() override;
};
