// The icon loader: after each rescan the worker thread walks a table's entries and fills their
// icons one entry at a time, each inside one hold of the table's lock, and reports its progress
// to the user-interface thread by message. The painter shows real icons only up to the loaded
// index those messages publish.
#pragma once
#include <cstdint>
#include <string>

#include "os/clock.h"
#include "table/monitor_messages.h"
#include "table/sorm.h"

namespace table {

// Fills one entry's icons. Called by the loader with the table's lock held; directory is the
// table's directory string at the time the loader started on the list.
class IconSource {
 public:
  virtual ~IconSource() = default;
  virtual void LoadIcons(Sorm& table, const std::string& directory, BINFO& entry) = 0;
};

// Progress is reported at most once every this many entries; the one-time repaint is asked
// for only when the list extends this far beyond the last painted entry.
constexpr int32_t kProgressStep = 20;
constexpr int32_t kRepaintMargin = 50;

// The loader's state for one pane (touched by the worker thread only).
struct LoaderPane {
  BINFO* position = nullptr;  // the last entry whose icons were loaded (null: the sentinel)
  int32_t lastReported = 0;
  bool repaintSent = false;
  bool completeSent = false;
  uint32_t generation = 0;  // the rescan the loader works on
  std::string directory;    // the table's directory string at that rescan
};

// Runs the loader on one pane: entry by entry until the pane is done, stop() is true or
// deadlineMicros (os::MonotonicMicros) has passed, so that the thread stays responsive to
// its stop flag on very long lists. Returns true when the pane is done for this step.
template <class StopFn>
bool LoaderStep(Sorm& table, int pane, LoaderPane& state, IconSource& source, MessageSink& sink,
                uint64_t deadlineMicros, StopFn stop);

// One entry of the loader (exposed for the template above): false when the pane is done.
bool LoaderStepOne(Sorm& table, int pane, LoaderPane& state, IconSource& source,
                   MessageSink& sink);

template <class StopFn>
bool LoaderStep(Sorm& table, int pane, LoaderPane& state, IconSource& source, MessageSink& sink,
                uint64_t deadlineMicros, StopFn stop) {
  while (LoaderStepOne(table, pane, state, source, sink)) {
    if (stop() || os::MonotonicMicros() > deadlineMicros) return false;
  }
  return true;
}

}  // namespace table
