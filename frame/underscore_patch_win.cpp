#include "frame/underscore_patch_win.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "frame/gdi_objects_win.h"
#include "frame/paint_rules.h"

namespace frame {

UnderscorePatch::UnderscorePatch(HDC dc) {
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS box{};
  if (::GetGlyphOutlineA(dc, '_', GGO_METRICS, &box, 0, nullptr, &identity) == GDI_ERROR) return;
  if (box.gmBlackBoxX == 0 || box.gmBlackBoxY == 0) return;
  // The size of the glyph's bitmap: 0 when the font draws no pixel of it.
  GLYPHMETRICS drawn{};
  const DWORD bytes = ::GetGlyphOutlineA(dc, '_', GGO_BITMAP, &drawn, 0, nullptr, &identity);
  if (bytes == GDI_ERROR || bytes > 0) return;
  TEXTMETRICA tm{};
  if (!::GetTextMetricsA(dc, &tm)) return;
  // The glyph's box starts gmptGlyphOrigin.y above the baseline (negative: below it); the bar
  // stays on the line's last row at the lowest.
  top_ = std::min<int>(tm.tmAscent - box.gmptGlyphOrigin.y, tm.tmHeight - 1);
  height_ = std::max<int>(1, std::min<int>(static_cast<int>(box.gmBlackBoxY), tm.tmHeight - top_));
  needed_ = top_ >= 0;
}

void UnderscorePatch::Draw(HDC dc, int x, int y, const char* text, std::size_t len,
                           const RECT& clip, COLORREF colour) const {
  if (!needed_ || !text) return;
  const std::vector<std::size_t> at = UnderscoreOffsets(text, len);
  if (at.empty()) return;
  gdi::Brush brush(::CreateSolidBrush(colour));
  for (std::size_t i : at) {
    if (i > static_cast<std::size_t>(INT_MAX - 1)) break;
    SIZE before{}, through{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(i), &before);
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(i + 1), &through);
    RECT bar{x + before.cx, y + top_, x + through.cx, y + top_ + height_};
    RECT shown{};
    if (::IntersectRect(&shown, &bar, &clip)) ::FillRect(dc, &shown, brush.Get());
  }
}

}  // namespace frame
