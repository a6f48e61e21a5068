// The records of drops this program posts to its own panes, kept until the block is handled.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "fileops/drop_target.h"

namespace fileops {

// The record for a client point of a pane showing table t; nonClient: the drop came through
// the pane's frame, outside its client area (then it lands on no entry).
DropTargetRecord DropTargetAt(table::Sorm& t, HWND pane, POINT client, bool nonClient);

// Remembers the record for a block about to be posted to pane; Take gives it back once (only
// to that pane, and only for a while: a block handle that is never delivered must not lend its
// record to a later block of the same value); Forget drops it when the post failed.
void RecordDropTarget(HWND pane, HDROP block, DropTargetRecord record);
std::optional<DropTargetRecord> TakeDropTarget(HWND pane, HDROP block);
void ForgetDropTarget(HDROP block);

}  // namespace fileops
