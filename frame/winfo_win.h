// A pane window: shows one file table, keeps the pane's colours, font and scroll origin, and
// is the window side of the table (it implements table::TableView).
#pragma once
#include <windows.h>

#include <memory>

#include "frame/gdi_measurer_win.h"
#include "frame/pane_host.h"
#include "frame/pane_scroll_win.h"
#include "frame/pane_settings.h"
#include "fw/window.h"
#include "table/mouse_logic.h"
#include "table/pane_surface.h"
#include "table/sorm.h"
#include "table/table_view.h"

class WINFO : public fw::Window, public table::TableView, public table::PaneSurface {
 public:
  WINFO(frame::PaneHost* host, int index);
  ~WINFO() override;

  // Creates the pane as a child of the client with the settings of section number `section`.
  bool CreatePane(HWND parent, int section, bool thinBorder);
  // Makes the pane's file table for the instance (n + 100 for a second pane).
  void AttachTable(int instance);
  // The shell's folder icons replace the built-in ones once the window is up.
  void LoadShellIcons();
  table::Sorm* Table() const { return table_.get(); }
  // Keeps an object (the pane's drop target registration) until the window is destroyed.
  void KeepUntilDestroyed(std::shared_ptr<void> object) { kept_ = std::move(object); }
  int Index() const { return index_; }
  frame::PaneSettings& Settings() { return settings_; }
  // The font in Settings() changed: texts are measured again, laid out and repainted.
  void FontChanged();
  // Writes x1, y1, the colours and the font to INST<section>.
  void WriteSettings(int section);
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  // The text shown in this pane's title bar (two-pane mode) and, when active, the caption.
  void Retitle();
  // table::PaneSurface: one entry drawn again (cursor moves, selection changes, activation),
  // the whole pane, or one scroll step.
  void RedrawEntry(const table::BINFO* entry) override;
  void RepaintAll() override { Repaint(); }
  bool ScrollStep(int kind, int32_t position) override;

  // table::TableView
  table::ClientSize GetClientSize() override { return {width_, height_}; }
  table::IconMetrics GetIconMetrics() override;
  table::TextMeasurer& Measurer() override;
  void SetScrollBars(const table::ScrollBars& bars) override;
  void Repaint() override;
  void ErrorBox(const char* text) override;
  void FatalError(const char* text) override;
  void UpdateSelectionText() override;
  void SortOrderChanged(int16_t oldId, int16_t newId) override;
  void ShowTitle(const std::string& title, const std::string& directory) override;
  void CloseChangeMonitor() override { host_->DisarmPaneMonitor(index_); }
  void ArmChangeMonitor(const std::string& path) override { host_->ArmPaneMonitor(index_, path); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void OnSize(int w, int h);
  // Mouse messages go to the application's mouse state with this pane as the surface.
  bool OnMouse(UINT msg, LPARAM lp);
  bool IsActive() const;
  frame::PaneHost* host_;
  int index_;
  frame::PaneSettings settings_;
  int width_ = 0, height_ = 0;
  frame::PaneScrollState scroll_;  // painting is suppressed while the scroll bars change
  frame::GdiMeasurer measurer_;
  std::unique_ptr<table::Sorm> table_;
  std::shared_ptr<void> kept_;
};
