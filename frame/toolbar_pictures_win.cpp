#include "frame/toolbar_pictures_win.h"

#include <cstring>

#include "frame/picture_strip.h"

namespace frame {
namespace {

Rgb SystemColour(int index) {
  COLORREF c = ::GetSysColor(index);
  return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace

ToolbarPictures::ToolbarPictures(HINSTANCE instance, const std::vector<int>& commands, int size)
    : count_(static_cast<int>(commands.size())), imageOf_(commands.size(), -1) {
  if (commands.empty()) return;
  const ButtonColours colours{SystemColour(COLOR_BTNTEXT), SystemColour(COLOR_BTNSHADOW),
                              SystemColour(COLOR_BTNFACE), SystemColour(COLOR_BTNHIGHLIGHT)};
  PictureStrip strip(count_, size, colours);
  bool any = false;
  for (size_t i = 0; i < commands.size(); ++i) {
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(commands[i]), RT_BITMAP);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data && strip.Place(static_cast<int>(i), static_cast<const uint8_t*>(data),
                            ::SizeofResource(instance, found))) {
      imageOf_[i] = static_cast<int>(i);
      any = true;
    }
  }
  if (!any) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = strip.Width();
  info.bmiHeader.biHeight = -strip.Height();  // top down, as the strip keeps its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ && bits) {
    std::memcpy(bits, strip.Bits().data(), strip.Bits().size());
  } else {
    imageOf_.assign(commands.size(), -1);
  }
}

ToolbarPictures::~ToolbarPictures() {
  if (bitmap_) ::DeleteObject(bitmap_);
}

}  // namespace frame
