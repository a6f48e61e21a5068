#include "frame/gdi_measurer_win.h"

#include <climits>

#include "frame/gdi_font_win.h"
#include "frame/gdi_objects_win.h"
#include "os/mbcs.h"

namespace frame {

// Members are destroyed in reverse order: the font is deselected, then deleted, then the
// device context is given back.
struct GdiMeasurer::Session {
  Session(HWND window, const LOGFONTA& lf)
      : dc(window), font(::CreateFontIndirectA(&lf)), selection(dc.Get(), font.Get()) {}
  gdi::WindowDc dc;
  gdi::Font font;
  gdi::Selection selection;
};

GdiMeasurer::GdiMeasurer(HWND window, const FontData& font) : window_(window), font_(font) {
  ResetWidths();
}

void GdiMeasurer::ResetWidths() {
  for (int& w : singleWidths_) w = -1;
  doubleWidths_.clear();
  metricsKnown_ = false;
  sumsExact_ = true;
  checksLeft_ = 64;
}

GdiMeasurer::~GdiMeasurer() = default;

void GdiMeasurer::SetWindow(HWND window) {
  Release();
  window_ = window;
}

void GdiMeasurer::SetFont(const FontData& font) {
  Release();
  font_ = font;
  ResetWidths();
}

int GdiMeasurer::CharWidth(const char* ch, int bytes) {
  int* slot;
  if (bytes == 1) {
    slot = &singleWidths_[static_cast<unsigned char>(ch[0])];
  } else {
    uint16_t code = static_cast<uint16_t>((static_cast<unsigned char>(ch[0]) << 8) |
                                          static_cast<unsigned char>(ch[1]));
    slot = &doubleWidths_.try_emplace(code, -1).first->second;
  }
  if (*slot < 0) {
    SIZE size{};
    ::GetTextExtentPoint32A(session_->dc.Get(), ch, bytes, &size);
    *slot = size.cx - overhang_;
  }
  return *slot;
}

table::TextExtent GdiMeasurer::Measure(const char* text, std::size_t len) {
  if (!session_) {
    const LOGFONTA lf = ToLogFont(font_);
    session_ = std::make_unique<Session>(window_, lf);
  }
  table::TextExtent extent;
  if (!session_->dc.Get() || !text) return extent;
  const int n = len > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(len);
  if (!metricsKnown_) {
    TEXTMETRICA tm{};
    ::GetTextMetricsA(session_->dc.Get(), &tm);
    overhang_ = tm.tmOverhang;
    height_ = tm.tmHeight;
    metricsKnown_ = true;
  }
  auto exact = [&] {
    SIZE size{};
    if (::GetTextExtentPoint32A(session_->dc.Get(), text, n, &size)) {
      extent.width = size.cx;
      extent.height = size.cy;
    }
  };
  if (!sumsExact_ || n == 0) {
    exact();
    return extent;
  }
  int width = overhang_;
  for (int i = 0; i < n;) {
    int bytes = (mbcs::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < n) ? 2 : 1;
    width += CharWidth(text + i, bytes);
    i += bytes;
  }
  if (checksLeft_ > 0) {
    --checksLeft_;
    exact();
    if (extent.width != width || extent.height != height_) sumsExact_ = false;
    return extent;
  }
  extent.width = width;
  extent.height = height_;
  return extent;
}

void GdiMeasurer::Release() { session_.reset(); }

}  // namespace frame
