#include "fw/tool_bar.h"

#include <commctrl.h>

namespace fw {
namespace {
constexpr int kImageSize = ToolBar::kPictureSize;
constexpr int kButtonSize = kImageSize + 7;
}  // namespace

ToolBar::~ToolBar() { Destroy(); }

bool ToolBar::Create(HWND frame, bool vertical) {
  Destroy();
  vertical_ = vertical;
  hwnd_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_NORESIZE |
                                CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_TOOLTIPS |
                                TBSTYLE_FLAT | (vertical ? CCS_VERT | TBSTYLE_WRAPABLE : 0),
                            0, 0, 0, 0, frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!hwnd_) return false;
  ::SendMessageA(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageA(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
  ::SendMessageA(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonSize, kButtonSize));
  return true;
}

void ToolBar::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void ToolBar::SetVertical(bool vertical) {
  if (!hwnd_ || vertical == vertical_) return;
  vertical_ = vertical;
  LONG style = ::GetWindowLongA(hwnd_, GWL_STYLE);
  style = vertical ? (style | CCS_VERT | TBSTYLE_WRAPABLE) : (style & ~(CCS_VERT | TBSTYLE_WRAPABLE));
  ::SetWindowLongA(hwnd_, GWL_STYLE, style);
}

int ToolBar::Thickness(bool horizontal, int length) {
  return kButtonSize + 6;
}

void ToolBar::SetItems(const std::vector<Item>& items, HBITMAP pictures, int pictureCount) {
  if (!hwnd_) return;
  while (::SendMessageA(hwnd_, TB_DELETEBUTTON, 0, 0)) {
  }
  int first = -1;
  if (pictures && pictureCount > 0) {
    TBADDBITMAP ab{nullptr, reinterpret_cast<UINT_PTR>(pictures)};
    first = static_cast<int>(
        ::SendMessageA(hwnd_, TB_ADDBITMAP, pictureCount, reinterpret_cast<LPARAM>(&ab)));
  }
  std::vector<TBBUTTON> buttons;
  buttons.reserve(items.size());
  for (const Item& item : items) {
    TBBUTTON b{};
    b.fsState = vertical_ ? TBSTATE_WRAP : 0;
    if (item.command == 0) {
      b.iBitmap = item.separatorSize;
      b.fsStyle = TBSTYLE_SEP;
    } else {
      b.iBitmap = first >= 0 && item.image >= 0 && item.image < pictureCount ? first + item.image
                                                                              : I_IMAGENONE;
      b.idCommand = item.command;
      b.fsState |= item.enabled ? TBSTATE_ENABLED : 0;
      b.fsStyle = TBSTYLE_BUTTON;
    }
    buttons.push_back(b);
  }
  if (!buttons.empty())
    ::SendMessageA(hwnd_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

void ToolBar::SetEnabled(int command, bool enabled) {
  if (hwnd_) ::SendMessageA(hwnd_, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

int ToolBar::ButtonCount() const {
  return hwnd_ ? static_cast<int>(::SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0)) : 0;
}

}  // namespace fw
