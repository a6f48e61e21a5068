#include "fileops/engine_progress.h"

#include <cmath>

#include "fileops/engine_types.h"
#include "fileops/engine_ui.h"
#include "table/size_text.h"

namespace fileops::progress {

void ShowPath(const char* path) {
  if (ProgressDialog* p = ActiveProgressDialog()) p->SetText(kProgressPath, path);
}

void StartGauge() {
  if (ProgressDialog* p = ActiveProgressDialog()) {
    p->SetGaugeRange(0, kGaugeMax);
    p->SetGauge(0);
  }
}

void SetGauge(int value) {
  if (ProgressDialog* p = ActiveProgressDialog()) p->SetGauge(value);
}

void ShowTotal(uint64_t size) {
  ProgressDialog* p = ActiveProgressDialog();
  if (!p || size < kCopyBufferSize) return;
  p->SetText(kProgressSlash, "/");
  p->SetText(kProgressTotal, table::SizeText(static_cast<double>(size)).c_str());
}

int GaugeValue(uint64_t done, uint64_t size) {
  if (size == 0 || done >= size) return kGaugeMax;
  return static_cast<int>(
      std::floor(static_cast<double>(done) / static_cast<double>(size) * kGaugeMax));
}

void ShowDone(uint64_t done, uint64_t size) {
  ProgressDialog* p = ActiveProgressDialog();
  if (!p) return;
  p->SetText(kProgressDone, table::SizeText(static_cast<double>(done)).c_str());
  p->SetGauge(GaugeValue(done, size));
}

void ClearSizes() {
  if (ProgressDialog* p = ActiveProgressDialog()) {
    p->SetText(kProgressDone, "");
    p->SetText(kProgressTotal, "");
    p->SetText(kProgressSlash, "");
  }
}

}  // namespace fileops::progress
