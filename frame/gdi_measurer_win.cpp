#include "frame/gdi_measurer_win.h"

#include <climits>

#include "frame/gdi_font_win.h"
#include "frame/gdi_objects_win.h"

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

GdiMeasurer::GdiMeasurer(HWND window, const FontData& font) : window_(window), font_(font) {}

GdiMeasurer::~GdiMeasurer() = default;

void GdiMeasurer::SetWindow(HWND window) {
  Release();
  window_ = window;
}

void GdiMeasurer::SetFont(const FontData& font) {
  Release();
  font_ = font;
}

table::TextExtent GdiMeasurer::Measure(const char* text, std::size_t len) {
  if (!session_) {
    const LOGFONTA lf = ToLogFont(font_);
    session_ = std::make_unique<Session>(window_, lf);
  }
  table::TextExtent extent;
  if (!session_->dc.Get() || !text) return extent;
  SIZE size{};
  const int n = len > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(len);
  if (::GetTextExtentPoint32A(session_->dc.Get(), text, n, &size)) {
    extent.width = size.cx;
    extent.height = size.cy;
  }
  return extent;
}

void GdiMeasurer::Release() { session_.reset(); }

}  // namespace frame
