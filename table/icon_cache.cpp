#include "table/icon_cache.h"

#include "os/services.h"

namespace table {

Cache::~Cache() {
  if (!ownsIcons) return;
  DestroyIconHandle(largeIcon);
  if (smallIcon != largeIcon) DestroyIconHandle(smallIcon);
}

IconCache::IconCache() : sentinel_(new Link(&root_)) {}

void IconCache::Clear() {
  while (sentinel_->next != sentinel_) delete static_cast<Cache*>(sentinel_->next);
}

int IconCache::Count() const {
  int n = 0;
  for (Link* l = sentinel_->next; l != sentinel_; l = l->next) ++n;
  return n;
}

const Cache* IconCache::First() const {
  return sentinel_->next == sentinel_ ? nullptr : static_cast<const Cache*>(sentinel_->next);
}

const Cache* IconCache::Next(const Cache* node) const {
  return node->next == sentinel_ ? nullptr : static_cast<const Cache*>(node->next);
}

bool IconCache::FindCached(SM_DAT& d, const char* key, uint16_t date, uint16_t time) {
  if (!key || !*key) return false;
  for (Link* l = sentinel_->prev; l != sentinel_; l = l->prev) {
    Cache* c = static_cast<Cache*>(l);
    if (c->key.empty() || os::Sys().CompareNoCase(c->key.c_str(), key) != 0) continue;
    if (c->date != date || c->time != time) {
      // A newer or older file of that name: its icon may differ.
      if (c->references > 0)
        c->key.clear();
      else
        delete c;
      return false;
    }
    c->Unlink();
    c->AppendTo(&root_);
    ++c->references;
    d.largeIcon = c->largeIcon;
    d.smallIcon = c->smallIcon;
    d.iconFlags = static_cast<uint8_t>((d.iconFlags & ~(kOwnsLarge | kOwnsSmall)) | kFromCache);
    d.cache = c;
    return true;
  }
  return false;
}

void IconCache::AddToCache(SM_DAT& d, const char* key) {
  int kept = 0;
  for (Link* l = sentinel_->next; l != sentinel_;) {
    Cache* c = static_cast<Cache*>(l);
    l = l->next;
    if (c->key.empty() && c->references <= 0)
      delete c;
    else
      ++kept;
  }
  for (Link* l = sentinel_->next; l != sentinel_ && kept > kCacheLimit;) {
    Cache* c = static_cast<Cache*>(l);
    l = l->next;
    if (c->references <= 0) {
      delete c;
      --kept;
    }
  }
  Cache* c = new Cache(&root_);
  c->key.assign(key ? key : "");
  if (c->key.size() > 259) c->key.resize(259);
  c->date = d.date;
  c->time = d.time;
  c->largeIcon = d.largeIcon;
  c->smallIcon = d.smallIcon;
  c->ownsIcons = (d.iconFlags & kOwnsLarge) != 0;
  c->references = 1;
  d.iconFlags = static_cast<uint8_t>((d.iconFlags & ~(kOwnsLarge | kOwnsSmall)) | kFromCache);
  d.cache = c;
}

void IconCache::ReleaseCached(Cache* node) {
  if (!node) return;
  --node->references;
  if (node->references <= 0 && node->key.empty()) delete node;
}

void IconCache::InvalidateCached(SM_DAT& d) {
  Cache* node = (d.iconFlags & kFromCache) ? d.cache : nullptr;
  d.cache = nullptr;
  d.largeIcon = d.smallIcon = nullptr;
  d.iconFlags = static_cast<uint8_t>(d.iconFlags & ~(kFromCache | kOwnsLarge | kOwnsSmall));
  if (!node) return;
  --node->references;
  if (node->references > 0)
    node->key.clear();
  else
    delete node;
}

int IconCache::Forget(const std::function<bool(const std::string& key)>& which) {
  int picked = 0;
  for (Link* l = sentinel_->next; l != sentinel_;) {
    Cache* c = static_cast<Cache*>(l);
    l = l->next;
    if (c->key.empty() || !which(c->key)) continue;
    ++picked;
    if (c->references > 0)
      c->key.clear();
    else
      delete c;
  }
  return picked;
}

}  // namespace table
