// A status bar (comctl32) docked at the bottom of a frame, with a message text or text fields.
#pragma once
#include <windows.h>

#include <vector>

#include "fw/frame_window.h"

namespace fw {

class StatusBar : public ControlBar {
 public:
  ~StatusBar() override;
  // Recessed, no size grip, clipping its siblings, with the given font (owned by the bar).
  bool Create(HWND frame, HFONT font);
  void Destroy();
  HWND BarHandle() const override { return hwnd_; }
  int Thickness(bool horizontal, int length) override;

  // Text fields of the given widths in characters (measured with the bar's font); no fields
  // means one message text over the whole bar.
  void SetFieldWidths(const std::vector<int>& widthsInChars);
  void SetText(int field, const char* text);
  void SetMessageText(const char* text) { SetText(0, text); }

 private:
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace fw
