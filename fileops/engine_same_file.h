// Whether two names lead to one file or directory, and whether a destination lies inside a
// source directory. Besides comparing the full paths (which catches case and "..\" spellings)
// the test asks the file system itself, so that 8.3 aliases, links and other routes to one
// file are found too: files through share modes, directories by their identity (volume and
// file index). Neither test creates or changes anything on disk.
#pragma once
#include <memory>

#include "os/filesystem.h"

namespace fileops {

// 1 when first and second are one file (or, asDirectories, one directory); 0 when they differ
// or this cannot be told; -1 when first cannot be accessed; -2 when second cannot be accessed.
// Directories that cannot be told apart by identity (the file system gives none) are compared
// by their full paths alone.
int SameFileCheck(const char* first, const char* second, bool asDirectories);

// Walks up from destination, cutting at the last backslash, and returns the first non-zero
// SameFileCheck(source, current, as directories); 0 when none. A drive ("C:") is never
// compared.
int IsInsideSource(const char* source, const char* destination);

// True when both paths, made full, are equal without regard to case.
bool SameFullPath(const char* first, const char* second);

// The file test as the copy uses it: besides the result it keeps the handle it opened on the
// first file (for reading, sharing reading and writing) and tells whether the second file was
// missing, so the copy need not ask again. A caller that holds such a handle already passes it
// in and gets it back in first.
struct SameFileProbe {
  int result = 0;
  std::unique_ptr<os::File> first;  // open on the first file when that succeeded (result 0)
  bool secondMissing = false;
};
SameFileProbe ProbeSameFile(const char* first, const char* second,
                            std::unique_ptr<os::File> firstHandle = nullptr);

}  // namespace fileops
