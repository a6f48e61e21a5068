// The messages the change monitor and the icon loader post to the main window, and how their
// parameters are packed. Kept free of windows.h: WM_USER is 0x0400.
#pragma once
#include <cstdint>

namespace table {

constexpr uint32_t kMsgUser = 0x0400;                 // WM_USER
constexpr uint32_t kMsgDirectoryChanged = kMsgUser + 1;  // wParam pane
constexpr uint32_t kMsgIconsProgress = kMsgUser + 2;     // wParam pane+generation, lParam index
constexpr uint32_t kMsgIconsComplete = kMsgUser + 3;     // wParam pane+generation, lParam last
// Carried in lParam of WM_USER (the program's application codes).
constexpr intptr_t kCodePollPane = 4;      // wParam pane: update by polling
constexpr intptr_t kCodeIconsVisible = 8;  // wParam pane+generation: repaint the pane

// The loader's reports name the rescan they belong to: the low byte is the pane, the rest the
// low bits of the table's rescan generation.
constexpr uintptr_t PackPane(int pane, uint32_t generation) {
  return static_cast<uintptr_t>(pane & 0xFF) | (static_cast<uintptr_t>(generation & 0xFFFFFF) << 8);
}
constexpr int PaneOf(uintptr_t wp) { return static_cast<int>(wp & 0xFF); }
constexpr bool SameGeneration(uintptr_t wp, uint32_t generation) {
  return ((wp >> 8) & 0xFFFFFF) == (generation & 0xFFFFFF);
}

// What the user-interface thread does with one of these messages.
enum class MonitorAction {
  kNone,            // not one of them, or nothing to do
  kUpdate,          // incremental update of the pane, then its title
  kUpdateAbortable, // the same, giving way to the first waiting message (a poll)
  kDefer,           // a change that arrived while the table must not change: update later
  kProgress,        // the loaded index becomes lParam
  kComplete,        // loaded index, loader Complete, repaint
  kRepaint,         // repaint the pane
};

// Where a message was taken from, and what the window is doing.
struct MonitorContext {
  bool mainLoop = false;        // taken by the main loop (not by a dialog's, menu's or pump's)
  bool busy = false;            // a command runs or the mouse is being tracked
  bool messageWaiting = false;  // another message waits in the queue
};

// The decision for message (with lParam lp). Changes are never lost: one that cannot be handled
// now is deferred. A poll is only an offer: it is dropped while anything else waits or the
// window is busy, and the next one comes 8 seconds later. The loader's reports change no entry
// and are taken wherever they are dispatched.
MonitorAction DecideMonitorAction(uint32_t message, intptr_t lp, const MonitorContext& c);

// Where the worker thread's messages go (PostMessageA to the main window in the program).
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Post(uint32_t message, uintptr_t wp, intptr_t lp) = 0;
};

}  // namespace table
