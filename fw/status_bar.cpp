#include "fw/status_bar.h"

#include <commctrl.h>

#include <string>

namespace fw {

StatusBar::~StatusBar() { Destroy(); }

bool StatusBar::Create(HWND frame, HFONT font) {
  Destroy();
  hwnd_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN |
                                CCS_NORESIZE,
                            0, 0, 0, 0, frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return false;
  ForgetTexts();
  font_ = font;
  if (font_) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  return true;
}

void StatusBar::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  if (font_) ::DeleteObject(font_);
  font_ = nullptr;
}

int StatusBar::Thickness(bool horizontal, int length) {
  HDC dc = ::GetDC(hwnd_);
  HGDIOBJ old = font_ ? ::SelectObject(dc, font_) : nullptr;
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  if (old) ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
  return tm.tmHeight + 2 * ::GetSystemMetrics(SM_CYEDGE) + 4;
}

void StatusBar::SetEqualFields(int n) {
  fields_ = n < 0 ? 0 : (n > kMaxFields ? kMaxFields : n);
  ForgetTexts();
  if (!hwnd_) return;
  if (fields_ == 0) {
    ::SendMessageA(hwnd_, SB_SIMPLE, TRUE, 0);
    return;
  }
  ::SendMessageA(hwnd_, SB_SIMPLE, FALSE, 0);
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  Placed(rc.right);
}

void StatusBar::Placed(int length) {
  if (!hwnd_ || fields_ == 0) return;
  int rights[kMaxFields];
  for (int i = 0; i < fields_; ++i) rights[i] = (i + 1 == fields_) ? -1 : length * (i + 1) / fields_;
  ::SendMessageA(hwnd_, SB_SETPARTS, fields_, reinterpret_cast<LPARAM>(rights));
}

void StatusBar::SetText(int field, const char* text) {
  if (!hwnd_ || field < 0 || field >= kMaxFields) return;
  const bool simple = ::SendMessageA(hwnd_, SB_ISSIMPLE, 0, 0) != 0;
  // The same text again is not set: setting it repaints the bar. The comparison is with the
  // text this bar last set, never with one read back from the control: the control answers a
  // length that is not the byte length of its ANSI text (characters, under Wine), and its
  // read-back takes no buffer size.
  std::optional<std::string>& last = shown_[simple ? kMaxFields : field];
  if (last && *last == text) return;
  if (::SendMessageA(hwnd_, SB_SETTEXTA, simple ? SB_SIMPLEID : static_cast<WPARAM>(field),
                     reinterpret_cast<LPARAM>(text)))
    last = text;
  else
    last.reset();
}

void StatusBar::ForgetTexts() {
  for (auto& t : shown_) t.reset();
}

}  // namespace fw
