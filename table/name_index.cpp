#include "table/name_index.h"

#include "os/mbcs.h"
#include "os/services.h"
#include "table/text_compare.h"

namespace table {
namespace {

// Walks one character; folds a single-byte lower-case ASCII letter.
inline std::size_t NextUnit(std::string_view s, std::size_t i, unsigned char& unit1,
                            unsigned char& unit2) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (mbcs::IsLeadByte(c) && i + 1 < s.size()) {
    unit1 = c;
    unit2 = static_cast<unsigned char>(s[i + 1]);
    return i + 2;
  }
  unit1 = (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
  unit2 = 0;
  return i + 1;
}

}  // namespace

std::size_t NameIndex::FoldHash::operator()(std::string_view s) const {
  std::size_t h = 2166136261u;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char a, b;
    i = NextUnit(s, i, a, b);
    h = (h ^ a) * 16777619u;
    h = (h ^ b) * 16777619u;
  }
  return h;
}

bool NameIndex::FoldEqual::operator()(std::string_view a, std::string_view b) const {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned char a1, a2, b1, b2;
    i = NextUnit(a, i, a1, a2);
    j = NextUnit(b, j, b1, b2);
    if (a1 != b1 || a2 != b2) return false;
  }
  return i == a.size() && j == b.size();
}

void NameIndex::Clear() {
  byName_.clear();
  byKey_.clear();
  keyIndexBuilt_ = false;
  sentinel_ = nullptr;
}

void NameIndex::Build(BINFO* sentinel) {
  Clear();
  sentinel_ = sentinel;
  for (BINFO* e = sentinel->NextNode(); e != sentinel; e = e->NextNode()) Add(e);
}

void NameIndex::Add(BINFO* entry) {
  Slot& slot = byName_[entry->Data()->name];
  if (!slot.first) slot.first = entry;
  ++slot.count;
  if (keyIndexBuilt_) byKey_.try_emplace(entry->Data()->nameKey, entry);
}

BINFO* NameIndex::FindAfter(BINFO* from, std::string_view name) {
  FoldEqual eq;
  for (BINFO* e = from->NextNode(); e != sentinel_; e = e->NextNode()) {
    if (eq(e->Data()->name, name)) return e;
  }
  return nullptr;
}

void NameIndex::Remove(BINFO* entry) {
  const std::string& name = entry->Data()->name;
  auto it = byName_.find(std::string_view(name));
  if (it != byName_.end()) {
    Slot& slot = it->second;
    if (--slot.count == 0) {
      byName_.erase(it);
    } else if (slot.first == entry) {
      // Rare: the mask listed this file more than once. The view key must stay valid, so the
      // slot moves to the next entry's own name.
      BINFO* next = FindAfter(entry, name);
      Slot moved{next, slot.count};
      byName_.erase(it);
      if (next) byName_.emplace(std::string_view(next->Data()->name), moved);
    }
  }
  if (keyIndexBuilt_) {
    auto k = byKey_.find(std::string_view(entry->Data()->nameKey));
    if (k != byKey_.end() && k->second == entry) byKey_.erase(k);
  }
}

void NameIndex::BuildKeyIndex() {
  keyIndexBuilt_ = true;
  if (!sentinel_) return;
  for (BINFO* e = sentinel_->NextNode(); e != sentinel_; e = e->NextNode())
    byKey_.try_emplace(e->Data()->nameKey, e);
}

BINFO* NameIndex::Find(const char* name) {
  auto it = byName_.find(std::string_view(name));
  if (it != byName_.end()) return it->second.first;
  if (IsPlainAscii(name)) return nullptr;
  if (!keyIndexBuilt_) BuildKeyIndex();
  std::string key = os::Sys().SortKey(name);
  auto k = byKey_.find(std::string_view(key));
  if (k == byKey_.end()) return nullptr;
  return SameTextNoCase(k->second->Data()->name.c_str(), name) ? k->second : nullptr;
}

}  // namespace table
