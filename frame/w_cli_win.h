// The frame's client window: one pane, or two side by side with a title bar above each.
#pragma once
#include <windows.h>

#include "frame/pane_host.h"
#include "fw/message_bar.h"
#include "fw/window.h"

class W_CLI : public fw::Window {
 public:
  explicit W_CLI(frame::PaneHost* host) : host_(host) {}
  ~W_CLI() override;
  bool CreateClient(HWND parent);
  // Two-pane mode: the title bars above the panes (children of the client).
  bool CreateTitleBars(bool border);
  fw::MessageBar* TitleBar(int i) { return titles_[i].Handle() ? &titles_[i] : nullptr; }
  void Layout();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  frame::PaneHost* host_;
  fw::MessageBar titles_[2];
};
