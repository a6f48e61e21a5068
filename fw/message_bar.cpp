#include "fw/message_bar.h"

namespace fw {
namespace {
const char* const kMessageBarClass = "SormMessageBar";
}

MessageBar::~MessageBar() {
  Destroy();
  if (font_) ::DeleteObject(font_);
}

bool MessageBar::CreateBar(HWND parent, HFONT font, bool border) {
  font_ = font;
  RegisterClassOnce(kMessageBarClass, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr,
                    ::LoadCursorA(nullptr, IDC_ARROW), nullptr);
  return Create(kMessageBarClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                border ? WS_EX_STATICEDGE : 0, 0, 0, 0, 0, parent, nullptr);
}

void MessageBar::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  if (Handle()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT MessageBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Handle(), &ps);
      RECT rc;
      ::GetClientRect(Handle(), &rc);
      ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
      HGDIOBJ old = font_ ? ::SelectObject(dc, font_) : nullptr;
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      rc.left += 4;
      ::DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &rc,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
      if (old) ::SelectObject(dc, old);
      ::EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return DefaultProc(msg, wp, lp);
  }
}

}  // namespace fw
