// Moving a file or a directory tree: a rename where the file system allows it, otherwise a
// copy followed by deleting what was copied.
#pragma once
#include <cstdint>

#include "fileops/engine_ui.h"

namespace fileops {

// Moves one file (EngineResult). An existing destination is asked about first (No leaves the
// source, 0). With renameFirst the move is tried as a rename; without it, or when the rename
// fails, the file is copied without asking again and the source deleted; a source that cannot
// be deleted then stays (both files exist, the result is still 0).
int MoveOneFile(const OperationUi& ui, const char* source, const char* destination, char* buffer,
                uint32_t size, bool renameFirst);

// Whether a move to the destination as the user typed it is tried as a rename first: when it
// names no drive (it then lies on the source's drive).
bool MoveRenamesFirst(const char* typedDestination);

// Moves a directory tree (EngineResult): a rename, or CopyTree and then deleting exactly the
// files that were copied and the directories left empty. Files the user declined to
// overwrite (No, or not newer under NewerOnly) stay in the source tree. A failed copy deletes
// nothing. A source that is a directory link is refused (-1, kErrnoLinkLeft); links inside the
// tree stay in the source with their directories, the rest is moved and the result is -1 with
// kErrnoLinkLeft. Cancel while the copied sources are deleted gives -5 (both trees exist).
int MoveTree(const OperationUi& ui, const char* source, const char* destination, char* buffer,
             uint32_t size);

}  // namespace fileops
