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

// Where the worker thread's messages go (PostMessageA to the main window in the program).
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Post(uint32_t message, uintptr_t wp, intptr_t lp) = 0;
};

}  // namespace table
