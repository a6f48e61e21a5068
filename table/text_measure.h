// Measuring text in the pane's font (GetTextExtentPoint32A with the font selected). The window
// layer supplies the GDI one; tests use a deterministic one.
#pragma once
#include <cstddef>
#include <cstdint>

namespace table {

struct TextExtent {
  int32_t width = 0;
  int32_t height = 0;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // The extent of len bytes of text.
  virtual TextExtent Measure(const char* text, std::size_t len) = 0;
  // Called after a layout that measured something, so a measurer that took a device context
  // and selected a font for it can give them back.
  virtual void Release() {}
};

}  // namespace table
