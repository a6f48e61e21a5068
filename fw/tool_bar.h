// A toolbar (comctl32) docked at an edge of a frame: command buttons showing the bitmap
// resource of their command number, and separators.
#pragma once
#include <windows.h>

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

  // A button for the command, its picture the bitmap resource with the same number.
  void AddButton(int command);
  void AddSeparator(int size);
  void SetEnabled(int command, bool enabled);
  int ButtonCount() const;

 private:
  HWND hwnd_ = nullptr;
  bool vertical_ = false;
};

}  // namespace fw
