// The engine's writes into the progress dialog of the running command; each does nothing when
// the command has no progress dialog.
#pragma once
#include <cstdint>

namespace fileops::progress {

// The path being worked on (control 10003).
void ShowPath(const char* path);
// Gauge range 0..10000 and value 0.
void StartGauge();
void SetGauge(int value);
// For a file of at least kCopyBufferSize bytes: "/" and its size as SizeText.
void ShowTotal(uint64_t size);
// The bytes done as SizeText, and the gauge at floor(done / size * 10000) (full when the size
// is 0 or the file grew).
void ShowDone(uint64_t done, uint64_t size);
// Empties the done, total and "/" controls.
void ClearSizes();

// The gauge value for done of size bytes.
int GaugeValue(uint64_t done, uint64_t size);

}  // namespace fileops::progress
