// The entries of a table indexed by name for the incremental rescan, so that matching every
// search result against the list costs one hash look-up instead of a walk of the list.
#pragma once
#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "table/binfo.h"

namespace table {

class NameIndex {
 public:
  // Indexes every entry after sentinel in ring order.
  void Build(BINFO* sentinel);
  // The first entry in ring order whose name equals name for lstrcmpiA; null when none.
  BINFO* Find(const char* name);
  // An entry appended at the end of the ring.
  void Add(BINFO* entry);
  // An entry about to be removed from the ring.
  void Remove(BINFO* entry);
  void Clear();

 private:
  // Names folded in their single-byte letters only: a trail byte of a double-byte character is
  // never folded, so two names fold alike only when lstrcmpiA calls them equal.
  struct FoldHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const;
  };
  struct FoldEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct Slot {
    BINFO* first = nullptr;  // first in ring order
    uint32_t count = 0;      // entries with this name (more than one when the mask lists a
                             // file twice)
  };
  // Keyed by a view of the entry's own name, which lives as long as the entry.
  std::unordered_map<std::string_view, Slot, FoldHash, FoldEqual> byName_;
  // Keyed by the sort key of the name; made only when a name that is not plain ASCII is not
  // found by folding (lstrcmpiA may call such names equal in ways folding does not see).
  std::unordered_map<std::string_view, BINFO*> byKey_;
  bool keyIndexBuilt_ = false;
  BINFO* sentinel_ = nullptr;

  void BuildKeyIndex();
  BINFO* FindAfter(BINFO* from, std::string_view name);
};

}  // namespace table
