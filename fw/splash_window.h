// A captionless topmost window showing a bitmap resource, centred on the screen. It closes on a
// left click or by itself after a delay.
#pragma once
#include <windows.h>

#include "fw/window.h"

namespace fw {

class SplashWindow : public Window {
 public:
  ~SplashWindow() override;
  bool Show(int bitmapId, UINT closeAfterMs);

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HBITMAP bitmap_ = nullptr;
};

}  // namespace fw
