#include "frame/selection_text.h"

#include <cmath>
#include <cstdio>

namespace frame {

std::string SelectionText(long count, double bytes) {
  char buf[128];
  if (bytes < 1024.0) {
    std::snprintf(buf, sizeof(buf), "Selected %ld file(s) ( %lu bytes ).", count,
                  static_cast<unsigned long>(bytes < 0 ? 0 : bytes));
    return buf;
  }
  const char* unit;
  double value;
  if (bytes < 1048576.0) {
    value = bytes * (1.0 / 1024.0);
    unit = "KB";
  } else if (bytes < 1073741824.0) {
    value = bytes * (1.0 / 1048576.0);
    unit = "MB";
  } else {
    value = bytes * (1.0 / 1073741824.0);
    unit = "GB";
  }
  // Cut to hundredths; a byte count over a power of two is exact in binary, so nothing is lost
  // before the cut.
  double cut = std::floor(value * 100.0) * 0.01;
  std::snprintf(buf, sizeof(buf), "Selected %ld file(s) ( %.2f %s ).", count, cut, unit);
  return buf;
}

}  // namespace frame
