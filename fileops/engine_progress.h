// The engine's writes into the progress dialog of a command; each does nothing when the
// command has none (null).
#pragma once
#include <cstdint>

#include "fileops/engine_ui.h"

namespace fileops::progress {

// The path being worked on (control 10003).
void ShowPath(ProgressDialog* p, const char* path);
// Gauge range 0..10000 and value 0.
void StartGauge(ProgressDialog* p);
void SetGauge(ProgressDialog* p, int value);
// For a file of at least kCopyBufferSize bytes: "/" and its size as SizeText.
void ShowTotal(ProgressDialog* p, uint64_t size);
// The bytes done as SizeText, and the gauge at floor(done / size * 10000) (full when the size
// is 0 or the file grew).
void ShowDone(ProgressDialog* p, uint64_t done, uint64_t size);
// Empties the done, total and "/" controls.
void ClearSizes(ProgressDialog* p);

// The gauge value for done of size bytes.
int GaugeValue(uint64_t done, uint64_t size);

}  // namespace fileops::progress
