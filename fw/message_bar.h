// A one-line bar that shows a text with its own font, sunken into its parent.
#pragma once
#include <windows.h>

#include <string>

#include "fw/window.h"

namespace fw {

class MessageBar : public Window {
 public:
  ~MessageBar() override;
  // font is owned by the bar from now on.
  bool CreateBar(HWND parent, HFONT font, bool border);
  void SetText(const std::string& text);
  const std::string& Text() const { return text_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HFONT font_ = nullptr;
  std::string text_;
};

}  // namespace fw
