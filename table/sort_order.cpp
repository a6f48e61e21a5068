#include "table/sort_order.h"

#include <algorithm>

#include "os/mbcs.h"
#include "os/services.h"
#include "table/pane_settings.h"

namespace table {
namespace {

bool NameLess(const SortItem& a, const SortItem& b) {
  int c = a.displayKey.compare(b.displayKey);
  if (c != 0) return c < 0;
  return a.targetKey < b.targetKey;
}

bool ExtensionLess(const SortItem& a, const SortItem& b) {
  if (a.extensionClass != b.extensionClass) return a.extensionClass < b.extensionClass;
  if (a.extensionClass != 1) {
    int c = a.extensionKey.compare(b.extensionKey);
    if (c != 0) return c < 0;
  }
  return NameLess(a, b);
}

bool NewestLess(const SortItem& a, const SortItem& b) {
  if (a.date != b.date) return a.date > b.date;
  if (a.time != b.time) return a.time > b.time;
  return NameLess(a, b);
}

bool OldestLess(const SortItem& a, const SortItem& b) {
  if (a.date != b.date) return a.date < b.date;
  if (a.time != b.time) return a.time < b.time;
  return NameLess(a, b);
}

bool LargestLess(const SortItem& a, const SortItem& b) {
  if (a.size != b.size) return a.size > b.size;
  return NameLess(a, b);
}

bool SmallestLess(const SortItem& a, const SortItem& b) {
  if (a.size != b.size) return a.size < b.size;
  return NameLess(a, b);
}

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

SortItem MakeSortItem(BINFO* node, int16_t sortId) {
  SM_DAT& d = *node->Data();
  SortItem item;
  item.node = node;
  item.displayKey = d.DisplayKey();
  item.targetKey = d.TargetKey();
  item.date = d.date;
  item.time = d.time;
  item.size = d.size;
  if (sortId == kSortExtension) {
    const char* name = d.DisplayName();
    const char* dot = mbcs::FindChar(name, '.');
    item.extensionClass = name[0] == '.' ? 0 : dot ? 2 : 1;
    if (dot && !d.hasExtensionKey) {
      d.extensionKey = os::Sys().SortKey(dot + 1);
      d.hasExtensionKey = true;
    }
    item.extensionKey = d.extensionKey;
  }
  return item;
}

void SortItems(SortItem* begin, SortItem* end, int16_t sortId) {
  switch (sortId) {
    case kSortExtension: std::sort(begin, end, ExtensionLess); break;
    case kSortNewest: std::sort(begin, end, NewestLess); break;
    case kSortOldest: std::sort(begin, end, OldestLess); break;
    case kSortLargest: std::sort(begin, end, LargestLess); break;
    case kSortSmallest: std::sort(begin, end, SmallestLess); break;
    default: std::sort(begin, end, NameLess); break;
  }
}

void SortListing(std::vector<SortItem>& items, int16_t sortId) {
  SortItem* begin = items.data();
  SortItem* end = begin + items.size();
  SortItem* files = std::partition(begin, end, [](const SortItem& i) {
    return GroupRank(*i.node->Data()) < 3;
  });
  SortItem* parent = std::find_if(begin, files, [](const SortItem& i) {
    return i.node->Data()->IsParentEntry();
  });
  if (parent != files) {
    std::swap(*begin, *parent);
    ++begin;
  }
  SortItems(begin, files, sortId);
  SortItems(files, end, sortId);
}

}  // namespace table
