// Drops onto a file table (the WM_DROPFILES handlers of the pane and the frame) and the drop
// blocks the table hands out when it is dragged from.
//
// A drop is a file command: it runs holding the command gate (a drop that arrives while another
// command runs is refused, its block freed), on full paths read from the block, through the
// same engine as the copy and move commands.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "fileops/drop_policy.h"

class WINFO;
namespace frame {
class PaneHost;
}
namespace table {
class Sorm;
}

namespace fileops {

// What the application does for a drop besides the files: tell its other windows that the
// associations changed.
struct DropHooks {
  std::function<void()> associationsChanged;
};

// Treats a drop block posted to pane number paneIndex and frees it (always, exactly once).
// 0 done, -1 stopped by an engine error, -2 no memory, -3 a dropped file could not be examined
// (or the block was refused), -4 cancelled, refused, or handed to DropOntoProgram.
// tag: the WM_DROPFILES lParam (TagOfMode from our own drags; else the keys held now decide).
// receiver: the window the block came to, the pane or the frame; the drop lands on an entry
// only when its point lies on the pane.
int HandleDroppedFiles(frame::PaneHost& host, int paneIndex, HDROP drop, uint32_t tag,
                       const DropHooks& hooks, HWND receiver);

// A drop onto the program entry at path (a full path in the table's directory): copy mode starts
// the program with the files, move and link modes associate the files' types with it.
void DropOntoProgram(frame::PaneHost& host, WINFO& pane, const std::string& path,
                     const std::vector<std::string>& files, DropMode mode,
                     const DropHooks& hooks);

// The drop block of the table's selected entries (movable, shareable, zero-filled global
// memory), or null when it cannot be made. The caller owns it.
HGLOBAL BuildDropFiles(const table::Sorm& t, int32_t x, int32_t y, bool nonClient,
                       bool fullPathsAlways);

// Asks a drop's question (OK and Cancel, caption "ドロップ確認"): true for OK. A drop from
// another program brings this window forward first.
bool AskDropQuestion(frame::PaneHost& host, WINFO& pane, const std::string& text);

}  // namespace fileops
