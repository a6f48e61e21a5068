#include "frame/gdi_font_win.h"

#include "os/mbcs.h"

namespace frame {

LOGFONTA ToLogFont(const FontData& f) {
  LOGFONTA lf{};
  lf.lfHeight = f.height;
  lf.lfWidth = f.width;
  lf.lfEscapement = f.escapement;
  lf.lfOrientation = f.orientation;
  lf.lfWeight = f.weight;
  lf.lfItalic = f.italic;
  lf.lfUnderline = f.underline;
  lf.lfStrikeOut = f.strikeOut;
  lf.lfCharSet = f.charSet;
  lf.lfOutPrecision = f.outPrecision;
  lf.lfClipPrecision = f.clipPrecision;
  lf.lfQuality = f.quality;
  lf.lfPitchAndFamily = f.pitchAndFamily;
  static_assert(sizeof(lf.lfFaceName) == sizeof(f.faceName));
  mbcs::CopyBounded(lf.lfFaceName, sizeof(lf.lfFaceName), f.faceName);
  return lf;
}

FontData FromLogFont(const LOGFONTA& lf) {
  FontData f;
  f.height = lf.lfHeight;
  f.width = lf.lfWidth;
  f.escapement = lf.lfEscapement;
  f.orientation = lf.lfOrientation;
  f.weight = lf.lfWeight;
  f.italic = lf.lfItalic;
  f.underline = lf.lfUnderline;
  f.strikeOut = lf.lfStrikeOut;
  f.charSet = lf.lfCharSet;
  f.outPrecision = lf.lfOutPrecision;
  f.clipPrecision = lf.lfClipPrecision;
  f.quality = lf.lfQuality;
  f.pitchAndFamily = lf.lfPitchAndFamily;
  char face[sizeof(lf.lfFaceName) + 1] = {};
  for (size_t i = 0; i < sizeof(lf.lfFaceName); ++i) face[i] = lf.lfFaceName[i];
  SetFaceName(f, face);
  return f;
}

HFONT CreateBarFont(int height) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfCharSet = SHIFTJIS_CHARSET;  // 128
  lf.lfOutPrecision = OUT_TT_PRECIS;  // 4
  lstrcpynA(lf.lfFaceName, "None", sizeof(lf.lfFaceName));
  return ::CreateFontIndirectA(&lf);
}

}  // namespace frame
