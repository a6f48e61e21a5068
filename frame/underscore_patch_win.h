// Some fonts draw no underscore at small sizes: under Wine the Japanese faces map to a font
// whose thin underscore stroke, below the baseline, is hinted away at 12 pixels, so that
// "make_it.txt" reads "make it.txt". UnderscorePatch finds out once for the font selected in a
// device context whether its underscore draws nothing and, only then, draws the underscores of
// a text line itself as a bar where the glyph's box lies, in the text colour.
#pragma once
#include <windows.h>

#include <cstddef>

namespace frame {

class UnderscorePatch {
 public:
  // For the font selected in dc.
  explicit UnderscorePatch(HDC dc);

  // Whether the font's own underscore draws nothing.
  bool Needed() const { return needed_; }
  // The underscores of text drawn at (x, y) (top left, as ExtTextOutA without alignment
  // flags), within clip.
  void Draw(HDC dc, int x, int y, const char* text, std::size_t len, const RECT& clip,
            COLORREF colour) const;

 private:
  bool needed_ = false;
  int top_ = 0;     // from the line's top to the bar
  int height_ = 1;  // the bar's height
};

}  // namespace frame
