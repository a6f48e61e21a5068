// The main frame: menu bar, toolbar and status bar around the client; placement and roll-up.
// Commands, menus, hints, closing and the end of the session go to its host.
#pragma once
#include <windows.h>

#include "frame/pane_host.h"
#include "frame/placement_format.h"
#include "fw/frame_window.h"

class SDIDecFrame : public fw::DecoratedFrame {
 public:
  explicit SDIDecFrame(frame::PaneHost* host) : host_(host) {}
  ~SDIDecFrame() override;

  // Created hidden, with no parent and an empty title.
  bool CreateFrame();
  // Restores INST<n>/Placement, Show and Shrink; shows the frame with the stored show command.
  void RestorePlacement(int n, int showCommand);
  // Writes Placement, Show and Shrink to INST<n>; for n = -1 left/top are shifted by dx, dy.
  void WritePlacement(int n, int dx, int dy);
  // Rolls the frame up to its caption (on) or back to its remembered size (off).
  void ShrinkFrame(bool on);
  bool Shrunk() const { return shrink_.shrunk; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  frame::PaneHost* host_;
  frame::ShrinkState shrink_;
};
