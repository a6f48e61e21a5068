// Sorting a table: the entry nodes are put in the new order with their line nodes, so nothing
// has to be measured again; the cursor stays at its place in the list.
#include <vector>

#include "table/sort_order.h"
#include "table/sorm.h"

namespace table {

void Sorm::Sort(int16_t newSortId, bool repaint) {
  if (entryCount_ == 0) return;  // the previous order stays in force
  {
    std::lock_guard<std::mutex> guard(lock_);
    SortLocked(newSortId);
  }
  Layout();
  if (repaint) view_.Repaint();
}

void Sorm::SortLocked(int16_t newSortId) {
  if (entryCount_ == 0) return;
  const int16_t oldId = sortId_;
  view_.SortOrderChanged(oldId, newSortId);
  sortId_ = IsKnownSortId(newSortId) ? newSortId : kSortName;

  const std::vector<BINFO*>& entries = Entries();
  if (nameRanksMadeAt_ != entriesMade_) {
    RankByName(entries);
    nameRanksMadeAt_ = entriesMade_;
  }
  if (sortId_ == kSortExtension && extensionRanksMadeAt_ != entriesMade_) {
    RankByExtension(entries);
    extensionRanksMadeAt_ = entriesMade_;
  }
  std::vector<SortItem> items;
  items.reserve(entries.size());
  for (BINFO* e : entries) items.push_back(MakeSortItem(e, sortId_));
  SortListing(items);

  const int32_t cursorIndex = HasCursor() ? cursor_->index : -1;
  BINFO* prev = sentinel_;
  int32_t index = 0;
  for (SortItem& item : items) {
    BINFO* node = item.node;
    prev->next = node;
    node->prev = prev;
    node->index = ++index;
    prev = node;
    if (index == cursorIndex) cursor_ = node;
  }
  prev->next = sentinel_;
  sentinel_->prev = prev;
  order_.clear();
  for (const SortItem& item : items) order_.push_back(item.node);
  orderValid_ = true;
  // The icon loader walks the list in its order: a loader part of the way through starts
  // again from the top (loaded entries are passed over), or the entries the new order put
  // before its position would keep their placeholders. The painter's loaded index meant the
  // old order: it starts again at 0, and the loader's reports about the old order (still on
  // their way) carry the old generation and are dropped, so the painter never reads an icon
  // the loader may be writing.
  if (loaderState_ == kLoaderLoading || loaderState_ == kLoaderPending) {
    loaderState_ = kLoaderPending;
    loadedIndex_ = 0;
    ++rescanGeneration_;
  }
}

}  // namespace table
