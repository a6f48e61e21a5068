// Moving a file or a directory tree: a rename where the file system allows it, otherwise a
// copy followed by deleting what was copied.
#pragma once
#include <cstdint>

namespace fileops {

// Moves one file (EngineResult). An existing destination is asked about first (No leaves the
// source, 0). A destination without a drive (relative to the current directory, so on the
// source's drive) is tried as a rename; a destination with a drive letter, or a failed
// rename, copies without asking again and then deletes the source; a source that cannot be
// deleted then stays (both files exist, the result is still 0).
int MoveOneFile(const char* source, const char* destination, char* buffer, uint32_t size);

// Moves a directory tree (EngineResult): a rename, or CopyTree and then deleting exactly the
// files that were copied and the directories left empty. Files the user declined to
// overwrite (No, or not newer under NewerOnly) stay in the source tree. A failed copy deletes
// nothing. A source that is a directory link is refused (-1, kErrnoLinkLeft); links inside the
// tree stay in the source with their directories, the rest is moved and the result is -1 with
// kErrnoLinkLeft. Cancel while the copied sources are deleted gives -5 (both trees exist).
int MoveTree(const char* source, const char* destination, char* buffer, uint32_t size);

}  // namespace fileops
