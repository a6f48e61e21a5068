// The icon cache of one file table: icons that are expensive to obtain (those of programs, of
// shortcuts, of icon files shown by their own image), kept under a key (a file name, or a
// full path) with the file's date and time and shared between the entries that use them.
//
// The nodes form a ring after a sentinel, least recently used first. An entry that takes a
// node's icons holds one reference; the icons belong to the node. At most kCacheLimit nodes
// with a key or a reference are kept; beyond that the unreferenced ones go, oldest first. A
// referenced node is never destroyed: a stale one loses its key and goes with its last user.
//
// Not locked itself: the table's critical section guards it (the loader fills entries under
// it, and entries are destroyed under it).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "table/link.h"
#include "table/sm_dat.h"

namespace table {

constexpr int kCacheLimit = 100;

class Cache : public Link {
 public:
  Cache() = default;
  explicit Cache(Link* parent) : Link(parent) {}
  ~Cache() override;

  void* largeIcon = nullptr;
  void* smallIcon = nullptr;
  std::string key;  // empty: no longer found (stale or invalidated)
  uint16_t date = 0;
  uint16_t time = 0;
  int32_t references = 0;
  bool ownsIcons = false;  // destroying the node destroys its icons
};

class IconCache {
 public:
  IconCache();
  ~IconCache() { Clear(); }
  IconCache(const IconCache&) = delete;
  IconCache& operator=(const IconCache&) = delete;

  // Looks key up (lstrcmpiA) from the most recently used node back. A node with equal date
  // and time is a hit: it becomes the most recently used, gains a reference, and d takes its
  // icons (FromCache, not owned). A node with the key but another date or time is stale: it
  // loses its key (referenced) or is destroyed, and the result is a miss.
  bool FindCached(SM_DAT& d, const char* key, uint16_t date, uint16_t time);
  // Keeps d's icons under key with d's date and time: the node takes them (and their
  // ownership when d owned its large icon) and d holds one reference to it.
  void AddToCache(SM_DAT& d, const char* key);
  // One reference less; a node without references and without key is destroyed.
  static void ReleaseCached(Cache* node);
  // The icons of d's node are no longer right (its association changed): d gives back its
  // reference and its icons, and the node is destroyed when it has no other user, otherwise
  // it loses its key so that it is never found again.
  static void InvalidateCached(SM_DAT& d);
  // Every node whose key which() picks is never found again: an unreferenced one is destroyed,
  // a referenced one loses its key and goes with its last user. Returns how many were picked.
  int Forget(const std::function<bool(const std::string& key)>& which);
  // Destroys every node (the table is being destroyed; no entry refers to them any more).
  void Clear();
  // Nodes in the ring, least recently used first (for tests and checks).
  int Count() const;
  const Cache* First() const;
  const Cache* Next(const Cache* node) const;

 private:
  Link root_;
  Link* sentinel_;
};

}  // namespace table
