// The entries of a table indexed by name for the incremental rescan, so that matching every
// search result against the list costs one hash look-up instead of a walk of the list.
// Entries whose name is a look-alike (SM_DAT::unmappable) are not indexed by name (it may equal a
// neighbour's): they are found by their 8.3 alias together with the look-alike, and one without
// an alias is listed afresh by every rescan.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "table/binfo.h"

namespace table {

class NameIndex {
 public:
  // Indexes the entries, given in ring order.
  void Build(const std::vector<BINFO*>& entries, BINFO* sentinel);
  // The first entry in ring order whose name equals name for lstrcmpiA; null when none.
  BINFO* Find(const char* name);
  // The look-alike entry with this alias (compared without regard to case) and this listed
  // name; null when none.
  BINFO* FindLookAlike(const char* alias, const char* name) const;
  // An entry appended at the end of the ring.
  void Add(BINFO* entry);
  // An entry about to be removed from the ring.
  void Remove(BINFO* entry);
  void Clear();

 private:
  // Open addressing with linear probing; a slot holds one name (the first entry with it in ring
  // order stands for all) and how many entries have it (more than one when the mask lists a
  // file twice). Keys are the entries' own names and cached hashes, so building allocates
  // nothing per entry.
  struct Slot {
    BINFO* first = nullptr;  // null: empty
    uint32_t hash = 0;
    uint32_t count = 0;      // 0 with a non-null first: a removed name (tombstone)
  };
  std::vector<Slot> slots_;
  std::size_t used_ = 0;  // slots that are not empty, tombstones included
  BINFO* sentinel_ = nullptr;
  // Keyed by the sort key of the name; made only when a name that is not plain ASCII is not
  // found by folding (lstrcmpiA may call such names equal in ways folding does not see).
  std::unordered_map<std::string_view, BINFO*> byKey_;
  bool keyIndexBuilt_ = false;
  // Look-alike entries by their alias in capitals (aliases are unique in a directory).
  std::unordered_map<std::string, BINFO*> byAlias_;

  Slot* Lookup(std::string_view name, uint32_t hash);
  void Insert(BINFO* entry);
  void Grow();
  void BuildKeyIndex();
  BINFO* FindAfter(BINFO* from, std::string_view name) const;
};

}  // namespace table
