// A toolbar (comctl32) docked at an edge of a frame: command buttons with their pictures, and
// separators.
#pragma once
#include <windows.h>

#include <vector>

#include "fw/frame_window.h"

namespace fw {

class ToolBar : public ControlBar {
 public:
  // Width and height of a button's picture.
  static constexpr int kPictureSize = 20;
  ~ToolBar() override;
  // vertical for the left and right edges. Hints are shown as tooltips from the string
  // resource of each command.
  bool Create(HWND frame, bool vertical);
  void Destroy();
  void SetVertical(bool vertical);
  HWND BarHandle() const override { return hwnd_; }
  int Thickness(bool horizontal, int length) override;

  // The bar's buttons in order: a command button showing picture `image` of the strip (-1:
  // none) or, for command 0, a gap of separatorSize pixels. Replaces what the bar held with one
  // insertion of the strip (the bar copies it; it stays the caller's) and one of the buttons.
  struct Item {
    int command = 0;
    int separatorSize = 0;
    bool enabled = true;
    int image = -1;
  };
  void SetItems(const std::vector<Item>& items, HBITMAP pictures, int pictureCount);
  void SetEnabled(int command, bool enabled);
  int ButtonCount() const;

 private:
  HWND hwnd_ = nullptr;
  bool vertical_ = false;
};

}  // namespace fw
