#include "table/icon_loader.h"

#include <mutex>

namespace table {

bool LoaderStepOne(Sorm& table, int pane, LoaderPane& state, IconSource& source,
                   MessageSink& sink) {
  std::lock_guard<std::mutex> guard(table.lock());
  const int32_t s = table.loaderState();
  if (s == kLoaderPending) {
    // A rescan made a new list: start from its beginning.
    state.position = nullptr;
    state.lastReported = 0;
    state.repaintSent = false;
    state.completeSent = false;
    state.generation = table.rescanGeneration();
    state.directory = table.DirectoryString();
    table.SetLoaderState(kLoaderLoading);
  } else if (s != kLoaderLoading || state.completeSent) {
    return false;
  }
  const uintptr_t wp = PackPane(pane, state.generation);
  BINFO* sentinel = table.sentinel();
  BINFO* e = (state.position ? state.position : sentinel)->NextNode();
  while (e != sentinel && e->Data()->largeIcon) e = e->NextNode();
  if (e == sentinel) {
    const BINFO* last = table.LastEntry();
    sink.Post(kMsgIconsComplete, wp, last == sentinel ? 0 : last->index);
    state.completeSent = true;
    return false;
  }
  source.LoadIcons(table, state.directory, *e);
  state.position = e;
  if (e->index >= state.lastReported + kProgressStep) {
    state.lastReported = e->index;
    sink.Post(kMsgIconsProgress, wp, e->index);
    const int32_t painted = table.lastPaintedIndex();
    if (state.lastReported >= painted && !state.repaintSent &&
        painted + kRepaintMargin < table.LastEntry()->index) {
      sink.Post(kMsgUser, wp, kCodeIconsVisible);
      state.repaintSent = true;
    }
  }
  return true;
}

}  // namespace table
