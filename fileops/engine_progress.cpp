#include "fileops/engine_progress.h"

#include <cmath>

#include "fileops/engine_types.h"
#include "table/size_text.h"

namespace fileops::progress {

void ShowPath(ProgressDialog* p, const char* path) {
  if (p) p->SetText(kProgressPath, path);
}

void StartGauge(ProgressDialog* p) {
  if (p) {
    p->SetGaugeRange(0, kGaugeMax);
    p->SetGauge(0);
  }
}

void SetGauge(ProgressDialog* p, int value) {
  if (p) p->SetGauge(value);
}

void ShowTotal(ProgressDialog* p, uint64_t size) {
  if (!p || size < kCopyBufferSize) return;
  p->SetText(kProgressSlash, "/");
  p->SetText(kProgressTotal, table::SizeText(static_cast<double>(size)).c_str());
}

int GaugeValue(uint64_t done, uint64_t size) {
  if (size == 0 || done >= size) return kGaugeMax;
  return static_cast<int>(
      std::floor(static_cast<double>(done) / static_cast<double>(size) * kGaugeMax));
}

void ShowDone(ProgressDialog* p, uint64_t done, uint64_t size) {
  if (!p) return;
  p->SetText(kProgressDone, table::SizeText(static_cast<double>(done)).c_str());
  p->SetGauge(GaugeValue(done, size));
}

void ClearSizes(ProgressDialog* p) {
  if (p) {
    p->SetText(kProgressDone, "");
    p->SetText(kProgressTotal, "");
    p->SetText(kProgressSlash, "");
  }
}

}  // namespace fileops::progress
