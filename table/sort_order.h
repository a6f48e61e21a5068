// The six orders of a listing, on sort keys made once per entry (comparing two keys byte by
// byte gives the order lstrcmpiA gives their texts).
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "table/binfo.h"

namespace table {

// True for the six SortId values.
bool IsKnownSortId(int16_t id);

// Where an entry goes before the order of its group applies: ".." first, then directories,
// then links to directories (these three are the directory group), then everything else.
int GroupRank(const SM_DAT& d);

// One entry as the sort sees it.
struct SortItem {
  BINFO* node = nullptr;
  std::string_view displayKey;
  std::string_view targetKey;
  std::string_view extensionKey;  // extension order: key of the text after the first period
  int8_t extensionClass = 0;      // 0 name begins with a period, 1 no period, 2 other
  uint16_t date = 0;
  uint16_t time = 0;
  int64_t size = 0;
};

// Fills an item; for the extension order the entry's extension key is made when missing.
SortItem MakeSortItem(BINFO* node, int16_t sortId);

// Orders items with sortId (a value that is not one of the six orders by name). Every order
// ends in the name tie-break: display names, then targets.
void SortItems(SortItem* begin, SortItem* end, int16_t sortId);

// The whole listing: ".." first, then the directory group, then the files, each group in the
// chosen order.
void SortListing(std::vector<SortItem>& items, int16_t sortId);

}  // namespace table
