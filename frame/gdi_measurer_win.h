// The pane's text measurer on GDI: GetTextExtentPoint32A with the pane's font selected into the
// pane window's device context. The device context is taken and the font made at the first
// measurement of a layout and held until the table's Release() after it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "frame/pane_settings.h"
#include "table/text_measure.h"

namespace frame {

class GdiMeasurer : public table::TextMeasurer {
 public:
  // Measures on window's device context (the screen's while window is null) in font.
  GdiMeasurer(HWND window, const FontData& font);
  ~GdiMeasurer() override;
  GdiMeasurer(const GdiMeasurer&) = delete;
  GdiMeasurer& operator=(const GdiMeasurer&) = delete;

  // The window once it exists; gives back a device context held for the old one.
  void SetWindow(HWND window);
  // The pane's new font: the next measurement makes it. The table must then be told
  // (table::Sorm::TextMetricsChanged) so that it measures its texts again.
  void SetFont(const FontData& font);

  table::TextExtent Measure(const char* text, std::size_t len) override;
  // Restores the font, deletes it and gives the device context back.
  void Release() override;

 private:
  struct Session;
  // The width of one character (one or two bytes), measured once per font.
  int CharWidth(const char* ch, int bytes);
  void ResetWidths();

  HWND window_;
  FontData font_;
  std::unique_ptr<Session> session_;
  // GDI adds no kerning, so a text's extent is the sum of its characters' advances (plus the
  // overhang of a synthesised style, once). Measuring each character once makes a listing of
  // 100,000 names mostly table look-ups. The first texts of a font are also measured whole and
  // compared; any difference turns the shortcut off for that font.
  int singleWidths_[256];
  std::unordered_map<uint16_t, int> doubleWidths_;
  int overhang_ = 0;
  int height_ = 0;
  bool metricsKnown_ = false;
  bool sumsExact_ = true;
  int checksLeft_ = 0;
};

}  // namespace frame
