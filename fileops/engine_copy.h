// Copying one file. The data goes block by block through the command's buffer, running the
// operation pump and the cancel test before every block and updating the progress dialog
// after it.
//
// The data is always written into a temporary name in the destination's directory ("~sm<hex>.tmp",
// or "~<base 36>" where the directory leaves less room), and only once the data, the
// last-write time and the attributes are complete does that file get the destination's name:
// renamed to it when the destination is new, or replacing an existing destination the user
// agreed to overwrite in one step (the old file is never opened for writing). A failed or
// cancelled copy leaves the destination exactly as it was (absent, or the old file) and no
// temporary file behind, unless that could not be removed; a truncated file never carries the
// real name.
#pragma once
#include <cstdint>

#include "fileops/engine_ui.h"

namespace fileops {

// Copies source to destination (EngineResult): 1 same file, nothing done; 0 done, or skipped by
// the answer No; -1 open, create or read failed; -2 a write fell short (full disk); -5
// cancelled; -6 Cancel at the overwrite question; -7 the source or -8 the destination cannot
// be accessed. LastCopyError holds the code of a failed step (0 otherwise).
int CopyOneFile(const OperationUi& ui, const char* source, const char* destination, char* buffer,
                uint32_t size);

struct CopyOutcome {
  int result = 0;
  bool copied = false;  // the data really was copied (not the same file, not skipped)
};
// CopyOneFile, telling also whether the file was really copied. A tree walk passes the
// source's attributes as its directory search found them (kInvalidAttributes: read them).
CopyOutcome CopyOneFileDetailed(const OperationUi& ui, const char* source,
                                const char* destination, char* buffer, uint32_t size,
                                uint32_t sourceAttributes);

}  // namespace fileops
