// Deleting files and directory trees for the delete command.
#pragma once
#include <cstdint>
#include <string>

#include "fileops/engine_ui.h"

namespace fileops {

// Deletes one file: 0 (also when it was gone already), -1 failed, -5 cancelled. From Windows 4
// on through the shell, to the recycle bin when RecycleDeletes() is set; below it with
// DeleteFileA.
int DeleteOneFile(const OperationUi& ui, const char* path);

// Removes an empty directory: 0, -1 failed, -5 cancelled.
int RemoveOneDirectory(const OperationUi& ui, const char* path);

// Deletes a directory with everything in it: 0, -1 when some entry could not be deleted (the
// others are), -5 cancelled. Each read-only entry is asked about (AskDeleteReadOnly): No skips
// it, Cancel ends the walk. A link to a directory elsewhere (a reparse point) is removed
// itself, never followed, also when it is the directory given.
int DeleteTree(const OperationUi& ui, const char* directory);

// Deletes one entry of a listing: a file, a directory link (the link alone) or a tree, by the
// attributes the path has right now (the listing may be older than the entry: a file may have
// been replaced by a directory while a question was open). 0 when the entry is gone already.
// When the delete fails or is cancelled and the entry is still there, the attributes of the
// listed entry are put back as listed (the read-only question's Yes cleared read-only first).
int DeleteListedEntry(const OperationUi& ui, const std::string& path, uint32_t listedAttributes);

}  // namespace fileops
