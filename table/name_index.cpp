#include "table/name_index.h"

#include "os/services.h"
#include "table/text_compare.h"

namespace table {

void NameIndex::Clear() {
  slots_.clear();
  used_ = 0;
  byKey_.clear();
  byAlias_.clear();
  keyIndexBuilt_ = false;
  sentinel_ = nullptr;
}

void NameIndex::Build(const std::vector<BINFO*>& entries, BINFO* sentinel) {
  Clear();
  sentinel_ = sentinel;
  std::size_t size = 16;
  while (size < entries.size() * 2 + 2) size *= 2;
  slots_.assign(size, Slot());
  for (BINFO* e : entries) Add(e);
}

NameIndex::Slot* NameIndex::Lookup(std::string_view name, uint32_t hash) {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Slot& s = slots_[i];
    if (!s.first) return nullptr;
    if (s.count && s.hash == hash && FoldedNamesEqual(s.first->Data()->name, name)) return &s;
  }
}

void NameIndex::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, Slot());
  used_ = 0;
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (!s.first || !s.count) continue;
    std::size_t i = s.hash & mask;
    while (slots_[i].first) i = (i + 1) & mask;
    slots_[i] = s;
    ++used_;
  }
}

namespace {
// An alias as the index keeps it: ASCII letters in capitals (the alias is compared as the
// system compares names; its other characters stay as they are).
std::string AliasKey(const char* alias) {
  std::string key(alias ? alias : "");
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

uint32_t HashOf(SM_DAT& d) {
  if (!d.hasNameHash) {
    d.nameHash = FoldedNameHash(d.name);
    d.hasNameHash = true;
  }
  return d.nameHash;
}
}  // namespace

void NameIndex::Insert(BINFO* entry) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const uint32_t hash = HashOf(*entry->Data());
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].first) i = (i + 1) & mask;
  slots_[i] = Slot{entry, hash, 1};
  ++used_;
}

void NameIndex::Add(BINFO* entry) {
  SM_DAT& d = *entry->Data();
  if (d.unmappable) {
    if (!d.alias.empty()) byAlias_.try_emplace(AliasKey(d.alias.c_str()), entry);
    return;
  }
  if (Slot* s = Lookup(d.name, HashOf(d))) ++s->count;
  else Insert(entry);
  if (keyIndexBuilt_) byKey_.try_emplace(d.nameKey, entry);
}

BINFO* NameIndex::FindAfter(BINFO* from, std::string_view name) const {
  for (BINFO* e = from->NextNode(); e != sentinel_; e = e->NextNode()) {
    if (!e->Data()->unmappable && FoldedNamesEqual(e->Data()->name, name)) return e;
  }
  return nullptr;
}

void NameIndex::Remove(BINFO* entry) {
  SM_DAT& d = *entry->Data();
  if (d.unmappable) {
    auto a = byAlias_.find(AliasKey(d.alias.c_str()));
    if (a != byAlias_.end() && a->second == entry) byAlias_.erase(a);
    return;
  }
  if (Slot* s = Lookup(d.name, HashOf(d))) {
    if (--s->count == 0) {
      // Stays a tombstone so that later names of the same probe run are still found; the
      // node it points to is never looked at again.
    } else if (s->first == entry) {
      // Rare: the mask listed this file more than once; the next one stands for the name.
      if (BINFO* next = FindAfter(entry, d.name)) s->first = next;
      else s->count = 0;  // cannot happen while the count is right; keep a tombstone
    }
  }
  if (keyIndexBuilt_) {
    auto k = byKey_.find(std::string_view(d.nameKey));
    if (k != byKey_.end() && k->second == entry) byKey_.erase(k);
  }
}

void NameIndex::BuildKeyIndex() {
  keyIndexBuilt_ = true;
  if (!sentinel_) return;
  for (BINFO* e = sentinel_->NextNode(); e != sentinel_; e = e->NextNode())
    if (!e->Data()->unmappable) byKey_.try_emplace(e->Data()->nameKey, e);
}

BINFO* NameIndex::Find(const char* name) {
  const std::string_view n(name);
  if (Slot* s = Lookup(n, FoldedNameHash(n))) return s->first;
  if (IsPlainAscii(name)) return nullptr;
  if (!keyIndexBuilt_) BuildKeyIndex();
  std::string key = os::Sys().SortKey(name);
  auto k = byKey_.find(std::string_view(key));
  if (k == byKey_.end()) return nullptr;
  return SameTextNoCase(k->second->Data()->name.c_str(), name) ? k->second : nullptr;
}

BINFO* NameIndex::FindLookAlike(const char* alias, const char* name) const {
  if (!alias || !*alias || !name) return nullptr;
  auto a = byAlias_.find(AliasKey(alias));
  if (a == byAlias_.end() || a->second->Data()->name != name) return nullptr;
  return a->second;
}

}  // namespace table
