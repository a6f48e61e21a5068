#include "table/previous_listing.h"

namespace table {
namespace {

uint32_t ExactHash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

}  // namespace

PreviousListing::PreviousListing(BINFO* sentinel, KeyArena&& keys) : keys_(std::move(keys)) {
  std::size_t count = 0;
  if (sentinel->next != sentinel) {
    // The ring minus the sentinel becomes the holder's ring.
    BINFO* first = sentinel->NextNode();
    BINFO* last = sentinel->PrevNode();
    sentinel->next = sentinel->prev = sentinel;
    first->prev = last;
    last->next = first;
    holder_.firstChild = first;
    BINFO* e = first;
    do {
      e->parent = &holder_;
      ++count;
      e = e->NextNode();
    } while (e != first);
  }
  std::size_t size = 16;
  while (size < count * 2 + 2) size *= 2;
  slots_.assign(size, Slot());
  if (!holder_.HasChildren()) return;
  const std::size_t mask = size - 1;
  BINFO* e = holder_.FirstChildNode();
  do {
    const SM_DAT* d = e->Data();
    if (!d->link && !d->nameKey.empty()) {
      std::size_t i = ExactHash(d->name) & mask;
      while (slots_[i].old) i = (i + 1) & mask;
      slots_[i].old = d;
    }
    e = e->NextNode();
  } while (e != holder_.FirstChildNode());
}

bool PreviousListing::Inherit(SM_DAT& d) {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = ExactHash(d.name) & mask; slots_[i].old; i = (i + 1) & mask) {
    Slot& s = slots_[i];
    if (s.old->name != d.name) continue;
    d.nameKey = s.old->nameKey;  // the caller copies it into the new store
    if (!s.rankTaken) {
      d.nameRank = s.old->nameRank;
      s.rankTaken = true;
    }
    return true;
  }
  return false;
}

}  // namespace table
