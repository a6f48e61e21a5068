#include "table/sort_order.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "os/mbcs.h"
#include "os/services.h"
#include "table/pane_settings.h"

namespace table {
namespace {

// Display name, then target, by their sort keys.
bool NameLess(const BINFO* a, const BINFO* b) {
  const SM_DAT& x = *a->Data();
  const SM_DAT& y = *b->Data();
  int c = x.DisplayKey().compare(y.DisplayKey());
  if (c != 0) return c < 0;
  return x.TargetKey() < y.TargetKey();
}

bool ItemLess(const SortItem& a, const SortItem& b) {
  if (a.primary != b.primary) return a.primary < b.primary;
  return a.secondary < b.secondary;
}

// 0: the display name begins with a period; 1: it has none; 2: any other.
uint64_t ExtensionClass(const SM_DAT& d) {
  const char* name = d.DisplayName();
  if (name[0] == '.') return 0;
  return mbcs::FindChar(name, '.') ? 2 : 1;
}

// Signed sizes as unsigned numbers in the same order.
uint64_t SizeOrder(int64_t size) { return static_cast<uint64_t>(size) ^ (1ull << 63); }

}  // namespace

bool IsKnownSortId(int16_t id) {
  switch (id) {
    case kSortSmallest:
    case kSortLargest:
    case kSortOldest:
    case kSortNewest:
    case kSortExtension:
    case kSortName:
      return true;
    default:
      return false;
  }
}

int GroupRank(const SM_DAT& d) {
  if (d.IsParentEntry()) return 0;
  if (d.IsDirectory()) return 1;
  if (d.linkFlags & kTargetIsDirectory) return 2;
  return 3;
}

namespace {

// An entry with the first 16 bytes of its display key held inline, so that most comparisons of
// the full sort touch no key text.
struct NameItem {
  uint64_t head0 = 0;
  uint64_t head1 = 0;
  BINFO* node = nullptr;
};

uint64_t BigEndian(std::string_view key, std::size_t from) {
  uint64_t v = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    v <<= 8;
    if (from + i < key.size()) v |= static_cast<unsigned char>(key[from + i]);
  }
  return v;
}

NameItem MakeNameItem(BINFO* e) {
  std::string_view key = e->Data()->DisplayKey();
  return NameItem{BigEndian(key, 0), BigEndian(key, 8), e};
}

bool NameItemLess(const NameItem& a, const NameItem& b) {
  if (a.head0 != b.head0) return a.head0 < b.head0;
  if (a.head1 != b.head1) return a.head1 < b.head1;
  return NameLess(a.node, b.node);
}

// The entries in name order.
std::vector<BINFO*> SortedByName(const std::vector<BINFO*>& entries) {
  std::vector<NameItem> items;
  items.reserve(entries.size());
  for (BINFO* e : entries) items.push_back(MakeNameItem(e));
  std::sort(items.begin(), items.end(), NameItemLess);
  std::vector<BINFO*> order;
  order.reserve(items.size());
  for (const NameItem& i : items) order.push_back(i.node);
  return order;
}

}  // namespace

void RankByName(const std::vector<BINFO*>& entries) {
  std::size_t fresh = 0;
  uint32_t highest = 0;
  for (BINFO* e : entries) {
    uint32_t r = e->Data()->nameRank;
    if (r == SM_DAT::kUnranked) ++fresh;
    else highest = std::max(highest, r);
  }
  if (fresh == 0) return;  // removals leave the order of the others as it is
  std::vector<BINFO*> order;
  if (fresh * 4 > entries.size() || highest >= entries.size() * 2) {
    order = SortedByName(entries);
  } else {
    // The ranked entries in their rank order (ranks are distinct), the new ones sorted, then
    // each new one placed after the ranked ones that do not come after it.
    std::vector<BINFO*> byRank(highest + 1, nullptr);
    std::vector<BINFO*> added;
    added.reserve(fresh);
    for (BINFO* e : entries) {
      uint32_t r = e->Data()->nameRank;
      if (r == SM_DAT::kUnranked) added.push_back(e);
      else byRank[r] = e;
    }
    std::vector<BINFO*> ranked;
    ranked.reserve(entries.size() - fresh);
    for (BINFO* e : byRank) {
      if (e) ranked.push_back(e);
    }
    std::sort(added.begin(), added.end(), NameLess);
    order.reserve(entries.size());
    auto from = ranked.begin();
    for (BINFO* f : added) {
      auto at = std::upper_bound(from, ranked.end(), f, NameLess);
      order.insert(order.end(), from, at);
      order.push_back(f);
      from = at;
    }
    order.insert(order.end(), from, ranked.end());
  }
  uint32_t rank = 0;
  for (BINFO* e : order) e->Data()->nameRank = rank++;
}

void RankByExtension(const std::vector<BINFO*>& entries) {
  // Extensions are few: each distinct text gets one sort key, and texts with equal keys
  // (equal for lstrcmpiA) share a rank.
  std::unordered_map<std::string_view, uint32_t> slotOf;
  std::vector<std::string_view> texts;
  std::vector<uint32_t> slots;
  slots.reserve(entries.size());
  for (BINFO* e : entries) {
    const char* name = e->Data()->DisplayName();
    const char* dot = mbcs::FindChar(name, '.');
    std::string_view ext = dot ? std::string_view(dot + 1) : std::string_view();
    auto [it, inserted] = slotOf.try_emplace(ext, static_cast<uint32_t>(texts.size()));
    if (inserted) texts.push_back(ext);
    slots.push_back(it->second);
  }
  std::vector<std::pair<std::string, uint32_t>> keys;
  keys.reserve(texts.size());
  for (uint32_t i = 0; i < texts.size(); ++i)
    keys.emplace_back(os::Sys().SortKey(std::string(texts[i]).c_str()), i);
  std::sort(keys.begin(), keys.end());
  std::vector<uint32_t> rankOf(texts.size(), 0);
  uint32_t rank = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0 && keys[i].first != keys[i - 1].first) ++rank;
    rankOf[keys[i].second] = rank;
  }
  for (std::size_t i = 0; i < entries.size(); ++i)
    entries[i]->Data()->extensionRank = rankOf[slots[i]];
}

SortItem MakeSortItem(BINFO* node, int16_t sortId) {
  const SM_DAT& d = *node->Data();
  const uint64_t stamp = (static_cast<uint64_t>(d.date) << 16) | d.time;
  SortItem item;
  item.node = node;
  item.group = static_cast<uint8_t>(GroupRank(d));
  item.secondary = d.nameRank;
  switch (sortId) {
    case kSortExtension: item.primary = (ExtensionClass(d) << 32) | d.extensionRank; break;
    case kSortNewest: item.primary = 0xFFFFFFFFu - stamp; break;
    case kSortOldest: item.primary = stamp; break;
    case kSortLargest: item.primary = ~SizeOrder(d.size); break;
    case kSortSmallest: item.primary = SizeOrder(d.size); break;
    default:
      item.primary = d.nameRank;
      item.secondary = 0;
      break;
  }
  return item;
}

void SortListing(std::vector<SortItem>& items) {
  SortItem* begin = items.data();
  SortItem* end = begin + items.size();
  SortItem* files = std::partition(begin, end, [](const SortItem& i) { return i.group < 3; });
  SortItem* parent = std::find_if(begin, files, [](const SortItem& i) { return i.group == 0; });
  if (parent != files) {
    std::swap(*begin, *parent);
    ++begin;
  }
  std::sort(begin, files, ItemLess);
  std::sort(files, end, ItemLess);
}

}  // namespace table
