// A pane window: shows one file table, keeps the pane's colours, font and scroll origin.
#pragma once
#include <windows.h>

#include "frame/pane_settings.h"
#include "fw/window.h"

class fwsApp;

class WINFO : public fw::Window {
 public:
  WINFO(fwsApp* app, int index) : app_(app), index_(index) {}
  ~WINFO() override;

  // Creates the pane as a child of the client with the settings of section number `section`.
  bool CreatePane(HWND parent, int section, bool thinBorder);
  int Index() const { return index_; }
  frame::PaneSettings& Settings() { return settings_; }
  void WriteSettings(int section) const { frame::WritePaneSettings(section, settings_); }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();
  fwsApp* app_;
  int index_;
  frame::PaneSettings settings_;
  int width_ = 0, height_ = 0;
};
