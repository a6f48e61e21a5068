// The entries a full rescan replaces, kept until the new list is built so that a name found
// again takes its sort key and its place in name order from there instead of having them made
// again (a refresh of a large directory finds nearly every name again, and making a key and
// sorting by keys are the dearest steps of listing entries).
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "table/binfo.h"
#include "table/key_arena.h"

namespace table {

class PreviousListing {
 public:
  // Takes every entry after sentinel out of the table's ring, and the store of their keys.
  PreviousListing(BINFO* sentinel, KeyArena&& keys);
  // Destroys the entries taken.
  ~PreviousListing() = default;
  PreviousListing(const PreviousListing&) = delete;
  PreviousListing& operator=(const PreviousListing&) = delete;

  // Gives d (an ordinary entry, not a link) the sort key of the old entry whose name is exactly
  // d's, and its name rank the first time that entry is asked for (a name the mask lists twice
  // must not share a rank). False when there is no such entry.
  bool Inherit(SM_DAT& d);

 private:
  struct Slot {
    const SM_DAT* old = nullptr;
    bool rankTaken = false;
  };
  BINFO holder_;    // the entries taken, as its children (destroyed with it)
  KeyArena keys_;   // their keys
  std::vector<Slot> slots_;  // open addressing by ExactHash of the name
};

}  // namespace table
