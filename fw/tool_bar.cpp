#include "fw/tool_bar.h"

#include <commctrl.h>

namespace fw {
namespace {
constexpr int kImageSize = 20;
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

void ToolBar::AddButton(int command) {
  if (!hwnd_) return;
  TBADDBITMAP ab{::GetModuleHandleA(nullptr), static_cast<UINT_PTR>(command)};
  int image = static_cast<int>(::SendMessageA(hwnd_, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&ab)));
  TBBUTTON b{};
  b.iBitmap = image >= 0 ? image : I_IMAGENONE;
  b.idCommand = command;
  b.fsState = TBSTATE_ENABLED | (vertical_ ? TBSTATE_WRAP : 0);
  b.fsStyle = TBSTYLE_BUTTON;
  ::SendMessageA(hwnd_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
}

void ToolBar::AddSeparator(int size) {
  if (!hwnd_) return;
  TBBUTTON b{};
  b.iBitmap = size;
  b.fsState = vertical_ ? TBSTATE_WRAP : 0;
  b.fsStyle = TBSTYLE_SEP;
  ::SendMessageA(hwnd_, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
}

void ToolBar::SetEnabled(int command, bool enabled) {
  if (hwnd_) ::SendMessageA(hwnd_, TB_ENABLEBUTTON, command, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

int ToolBar::ButtonCount() const {
  return hwnd_ ? static_cast<int>(::SendMessageA(hwnd_, TB_BUTTONCOUNT, 0, 0)) : 0;
}

}  // namespace fw
