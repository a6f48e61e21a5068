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

namespace {

// The pictures of the commands side by side, one kImageSize square each in the order given;
// a command without a picture leaves its square in the button face colour, and its slot in
// placed is false. Null when no picture was found at all.
HBITMAP PictureStrip(const std::vector<int>& commands, std::vector<bool>& placed) {
  placed.assign(commands.size(), false);
  if (commands.empty()) return nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC strip = ::CreateCompatibleDC(screen);
  HDC picture = ::CreateCompatibleDC(screen);
  const int width = kImageSize * static_cast<int>(commands.size());
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, kImageSize);
  ::ReleaseDC(nullptr, screen);
  bool any = false;
  if (bitmap && strip && picture) {
    HGDIOBJ oldStrip = ::SelectObject(strip, bitmap);
    RECT all{0, 0, width, kImageSize};
    ::FillRect(strip, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    for (size_t i = 0; i < commands.size(); ++i) {
      // Mapped as the bar maps a picture it loads itself: the standard greys, black and white
      // become the button colours of the system.
      HBITMAP one = ::CreateMappedBitmap(inst, commands[i], 0, nullptr, 0);
      if (!one) continue;
      HGDIOBJ oldPicture = ::SelectObject(picture, one);
      ::BitBlt(strip, static_cast<int>(i) * kImageSize, 0, kImageSize, kImageSize, picture, 0, 0,
               SRCCOPY);
      ::SelectObject(picture, oldPicture);
      ::DeleteObject(one);
      placed[i] = any = true;
    }
    ::SelectObject(strip, oldStrip);
  }
  if (picture) ::DeleteDC(picture);
  if (strip) ::DeleteDC(strip);
  if (!any && bitmap) {
    ::DeleteObject(bitmap);
    bitmap = nullptr;
  }
  return bitmap;
}

}  // namespace

void ToolBar::SetItems(const std::vector<Item>& items) {
  if (!hwnd_) return;
  while (::SendMessageA(hwnd_, TB_DELETEBUTTON, 0, 0)) {
  }
  std::vector<int> commands;
  for (const Item& item : items)
    if (item.command != 0) commands.push_back(item.command);
  std::vector<bool> placed;
  int first = -1;
  if (HBITMAP strip = PictureStrip(commands, placed)) {
    // The bar copies the pictures into its image list; the strip is ours to delete.
    TBADDBITMAP ab{nullptr, reinterpret_cast<UINT_PTR>(strip)};
    first = static_cast<int>(::SendMessageA(hwnd_, TB_ADDBITMAP, commands.size(),
                                            reinterpret_cast<LPARAM>(&ab)));
    ::DeleteObject(strip);
  }
  std::vector<TBBUTTON> buttons;
  buttons.reserve(items.size());
  size_t picture = 0;
  for (const Item& item : items) {
    TBBUTTON b{};
    b.fsState = vertical_ ? TBSTATE_WRAP : 0;
    if (item.command == 0) {
      b.iBitmap = item.separatorSize;
      b.fsStyle = TBSTYLE_SEP;
    } else {
      const bool has = first >= 0 && placed[picture];
      b.iBitmap = has ? first + static_cast<int>(picture) : I_IMAGENONE;
      ++picture;
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
