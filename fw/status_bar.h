// A status bar (comctl32) docked at the bottom of a frame, with a message text or text fields.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

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

  void Placed(int length) override;

  // n text fields sharing the bar's width equally (each under its pane); 0 means one message
  // text over the whole bar.
  void SetEqualFields(int n);
  void SetText(int field, const char* text);
  void SetMessageText(const char* text) { SetText(0, text); }

 private:
  static constexpr int kMaxFields = 8;
  // The texts last set, per field and (last) for the one message text.
  void ForgetTexts();
  std::optional<std::string> shown_[kMaxFields + 1];
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  int fields_ = 0;
};

}  // namespace fw
