// The pane's text measurer on GDI: GetTextExtentPoint32A with the pane's font selected into the
// pane window's device context. The device context is taken and the font made at the first
// measurement of a layout and held until the table's Release() after it.
#pragma once
#include <windows.h>

#include <memory>

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
  HWND window_;
  FontData font_;
  std::unique_ptr<Session> session_;
};

}  // namespace frame
