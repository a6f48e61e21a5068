// The main frame: menu bar, toolbar and status bar around the client; placement, roll-up,
// and the saving of the window when it is the last one or when Windows ends.
#pragma once
#include <windows.h>

#include "frame/placement_format.h"
#include "fw/frame_window.h"

class fwsApp;

class SDIDecFrame : public fw::DecoratedFrame {
 public:
  explicit SDIDecFrame(fwsApp* app) : app_(app) {}
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
  bool MayClose();
  void OnEndSession();
  fwsApp* app_;
  frame::ShrinkState shrink_;
};
