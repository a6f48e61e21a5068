// A toolbar (comctl32) docked at an edge of a frame: command buttons showing the bitmap
// resource of their command number, and separators.
#pragma once
#include <windows.h>

#include <vector>

#include "fw/frame_window.h"

namespace fw {

class ToolBar : public ControlBar {
 public:
  ~ToolBar() override;
  // vertical for the left and right edges. Hints are shown as tooltips from the string
  // resource of each command.
  bool Create(HWND frame, bool vertical);
  void Destroy();
  void SetVertical(bool vertical);
  HWND BarHandle() const override { return hwnd_; }
  int Thickness(bool horizontal, int length) override;

  // The bar's buttons in order: a command button (its picture the bitmap resource with the
  // same number) or, for command 0, a gap of separatorSize pixels. Replaces what the bar held
  // with one picture strip and one insertion, however many buttons there are.
  struct Item {
    int command = 0;
    int separatorSize = 0;
    bool enabled = true;
  };
  void SetItems(const std::vector<Item>& items);
  void SetEnabled(int command, bool enabled);
  int ButtonCount() const;

 private:
  HWND hwnd_ = nullptr;
  bool vertical_ = false;
};

}  // namespace fw
