// The six orders of a listing. Texts are compared once per entry: every entry gets its place
// in name order (from sort keys, whose byte order is lstrcmpiA's order) and its extension's
// place among the extensions; the orders then compare numbers.
#pragma once
#include <cstdint>
#include <vector>

#include "table/binfo.h"

namespace table {

// True for the six SortId values.
bool IsKnownSortId(int16_t id);

// Where an entry goes before the order of its group applies: ".." first, then directories,
// then links to directories (these three are the directory group), then everything else.
int GroupRank(const SM_DAT& d);

// Gives every entry its place in name order (display name, then target). Entries placed
// before keep their order among themselves and new ones are merged in; when most are new
// all are sorted again.
void RankByName(const std::vector<BINFO*>& entries);

// Gives every entry the place of its extension (after the first period of the display name)
// among the distinct extensions of the list.
void RankByExtension(const std::vector<BINFO*>& entries);

// One entry as the sort sees it: it goes before another when its primary number is smaller,
// or equal with a smaller secondary number (its name rank).
struct SortItem {
  uint64_t primary = 0;
  uint32_t secondary = 0;
  uint8_t group = 3;  // GroupRank
  BINFO* node = nullptr;
};

// The numbers of an entry for sortId (a value that is not one of the six orders by name).
// Needs the name ranks, and for the extension order the extension ranks.
SortItem MakeSortItem(BINFO* node, int16_t sortId);

// The whole listing: ".." first, then the directory group, then the files, each group in the
// chosen order.
void SortListing(std::vector<SortItem>& items);

}  // namespace table
