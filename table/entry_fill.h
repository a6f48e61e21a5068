// Filling the record of one directory entry from a search result, link files and shortcuts
// included.
#pragma once
#include <memory>
#include <string>

#include "os/types.h"
#include "table/key_arena.h"
#include "table/previous_listing.h"
#include "table/sm_dat.h"

namespace table {

struct ScanContext {
  std::string directory;    // the table's directory string (ends in "\")
  int32_t biasMinutes = 0;  // the time-zone bias in force for this scan
  KeyArena* keys = nullptr;  // where the name keys are kept
  // The list a full rescan replaces: a name found there again takes its key and rank from it.
  PreviousListing* previous = nullptr;
};

// Fills a new record from fd: attributes, local DOS time and date, size and name copied, the
// sort key and hash of the name made. A ".LFI" file becomes a link whose target is the end of its chain and whose
// display name is its title; a ".LNK" file becomes a shortcut with its target path and, apart,
// its arguments. Directories are never taken for links.
void FillEntryData(SM_DAT& d, const os::FindData& fd, const ScanContext& ctx);

// True when the record still describes fd: attributes, time, date and size all equal.
bool SameFileState(const SM_DAT& d, const os::FindData& fd, int32_t biasMinutes);

}  // namespace table
