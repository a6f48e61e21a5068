// Copying a directory tree: the directory, then every entry of it (files with CopyOneFile,
// directories with a copy of their own), in the order the directory search gives them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "fileops/engine_ui.h"

namespace fileops {

// Copies the directory source to destination (EngineResult): 1 one directory; -4 the
// destination lies inside the source (nothing is created); -3 a path does not fit; -7/-8 the
// source/destination cannot be accessed; otherwise the first non-zero result of a
// subdirectory or the first negative result of a file ends the walk. An existing destination
// directory is merged into.
// A directory link (junction or symbolic link) is never walked into: a source that is one is
// refused before anything is made, and one inside the tree is left out while the rest is
// copied; both end in -1 with LastCopyError kErrnoLinkLeft. Nor is a destination directory that
// is a link merged into: the walk ends there with -1, LastCopyError kErrnoDestinationLink and
// the link's path in RefusedLinkPath().
int CopyTree(const OperationUi& ui, const char* source, const char* destination, char* buffer,
             uint32_t size);

// What a tree copy really copied, for a move to delete exactly that afterwards.
struct CopiedTree {
  std::vector<std::string> files;        // source paths of the files copied
  std::vector<std::string> directories;  // source directories walked, innermost first
};
// A move deletes what was copied also when only links were left out (they and their
// directories stay in the source).
int CopyTreeRecorded(const OperationUi& ui, const char* source, const char* destination,
                     char* buffer, uint32_t size, CopiedTree& record);

// True when path is a directory link (a directory with the reparse-point attribute).
bool IsDirectoryLinkPath(const char* path);

}  // namespace fileops
