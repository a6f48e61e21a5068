// The per-table icon cache: shared icons with reference counts, stale entries by date and
// time, the limit of 100 entries and what is destroyed when.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "table/icon_cache.h"

namespace {

using table::Cache;
using table::IconCache;
using table::SM_DAT;

std::vector<void*> g_destroyed;

class IconCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_destroyed.clear();
    table::SetIconReleaseHooks([](void* icon) { g_destroyed.push_back(icon); }, nullptr);
  }
  void TearDown() override { table::SetIconReleaseHooks(nullptr, nullptr); }

  // An entry that owns a fresh pair of icons (fake handles: addresses of our own cells).
  std::unique_ptr<SM_DAT> Owning(uint16_t date, uint16_t time) {
    auto d = std::make_unique<SM_DAT>();
    d->date = date;
    d->time = time;
    cells_.push_back(std::make_unique<char[]>(2));
    d->largeIcon = &cells_.back()[0];
    d->smallIcon = &cells_.back()[1];
    d->iconFlags = table::kOwnsLarge | table::kOwnsSmall;
    return d;
  }
  bool Destroyed(void* icon) const {
    return std::count(g_destroyed.begin(), g_destroyed.end(), icon) > 0;
  }

  std::vector<std::unique_ptr<char[]>> cells_;
};

TEST_F(IconCacheTest, HitSharesTheIconsAndTheLastUserDestroysNothingOwnedTwice) {
  IconCache cache;
  auto first = Owning(100, 200);
  void* large = first->largeIcon;
  void* small = first->smallIcon;
  cache.AddToCache(*first, "PROG.EXE");
  EXPECT_EQ(first->iconFlags, table::kFromCache);
  ASSERT_NE(first->cache, nullptr);

  SM_DAT second;
  ASSERT_TRUE(cache.FindCached(second, "prog.exe", 100, 200));  // lstrcmpiA: any case
  EXPECT_EQ(second.largeIcon, large);
  EXPECT_EQ(second.smallIcon, small);
  EXPECT_EQ(second.cache, first->cache);
  EXPECT_EQ(second.cache->references, 2);

  first.reset();
  EXPECT_TRUE(g_destroyed.empty());  // the icons belong to the node, still keyed
  EXPECT_EQ(cache.Count(), 1);
  cache.Clear();
  EXPECT_TRUE(Destroyed(large) && Destroyed(small));
  EXPECT_EQ(g_destroyed.size(), 2u);
  second.iconFlags = 0;  // its node went with the cache
}

TEST_F(IconCacheTest, OtherDateOrTimeIsStale) {
  struct Case {
    const char* name;
    uint16_t date, time;
    bool referenced;  // another entry still uses the old node
    bool hit;
    int nodesAfter;
  } cases[] = {
      {"same date and time", 7, 9, false, true, 1},
      {"newer time, unreferenced: destroyed", 7, 10, false, false, 0},
      {"other date, unreferenced: destroyed", 8, 9, false, false, 0},
      {"newer time, referenced: keyless until released", 7, 10, true, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_destroyed.clear();
    IconCache cache;
    auto user = Owning(7, 9);
    void* oldLarge = user->largeIcon;
    cache.AddToCache(*user, "a.exe");
    Cache* node = user->cache;
    if (!c.referenced) {
      user.reset();  // releases; the keyed node stays for later users
      EXPECT_EQ(cache.Count(), 1);
    }
    SM_DAT probe;
    EXPECT_EQ(cache.FindCached(probe, "a.exe", c.date, c.time), c.hit);
    EXPECT_EQ(cache.Count(), c.nodesAfter);
    if (c.hit) continue;
    EXPECT_EQ(Destroyed(oldLarge), !c.referenced);
    if (c.referenced) {
      EXPECT_TRUE(node->key.empty());
      SM_DAT again;
      EXPECT_FALSE(cache.FindCached(again, "a.exe", 7, 9));  // never found again
      user.reset();  // the last reference destroys it
      EXPECT_EQ(cache.Count(), 0);
      EXPECT_TRUE(Destroyed(oldLarge));
    }
  }
}

TEST_F(IconCacheTest, BeyondTheLimitOnlyUnreferencedEntriesGoOldestFirst) {
  IconCache cache;
  std::vector<std::unique_ptr<SM_DAT>> users;
  // 120 referenced entries: none may go, whatever the limit.
  for (int i = 0; i < 120; ++i) {
    users.push_back(Owning(1, static_cast<uint16_t>(i)));
    cache.AddToCache(*users.back(), ("p" + std::to_string(i) + ".exe").c_str());
  }
  EXPECT_EQ(cache.Count(), 120);
  EXPECT_TRUE(g_destroyed.empty());
  // The first 30 lose their users (their keyed nodes stay); the next addition trims the
  // unreferenced ones from the least recently used end until 100 remain.
  for (int i = 0; i < 30; ++i) users[static_cast<std::size_t>(i)].reset();
  EXPECT_EQ(cache.Count(), 120);
  // A hit makes p5 the most recently used and referenced again.
  auto p5 = std::make_unique<SM_DAT>();
  ASSERT_TRUE(cache.FindCached(*p5, "p5.exe", 1, 5));
  auto extra = Owning(1, 999);
  cache.AddToCache(*extra, "extra.exe");
  EXPECT_EQ(cache.Count(), 101);  // 100 kept plus the new one
  std::vector<std::string> keys;
  for (const Cache* c = cache.First(); c; c = cache.Next(c)) keys.push_back(c->key);
  // p0..p4 and p6..p20 (the 20 oldest unreferenced) went; p21..p29 stayed.
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "p0.exe"), 0);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "p20.exe"), 0);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "p21.exe"), 1);
  EXPECT_EQ(keys[keys.size() - 2], "p5.exe");
  EXPECT_EQ(keys.back(), "extra.exe");
  EXPECT_EQ(g_destroyed.size(), 40u);  // 20 nodes, two icons each
  for (auto& u : users) u.reset();
  extra.reset();
  p5.reset();
  EXPECT_EQ(cache.Count(), 101);  // released nodes keep their keys until they are trimmed
}

TEST_F(IconCacheTest, InvalidateTakesTheEntrysIconsAndHidesTheNode) {
  struct Case {
    bool otherUser;
  } cases[] = {{false}, {true}};
  for (const Case& c : cases) {
    g_destroyed.clear();
    IconCache cache;
    auto first = Owning(3, 4);
    void* large = first->largeIcon;
    cache.AddToCache(*first, "x.ico");
    auto other = std::make_unique<SM_DAT>();
    if (c.otherUser) {
      ASSERT_TRUE(cache.FindCached(*other, "x.ico", 3, 4));
    }
    IconCache::InvalidateCached(*first);
    EXPECT_EQ(first->largeIcon, nullptr);
    EXPECT_EQ(first->iconFlags, 0);
    EXPECT_EQ(cache.Count(), c.otherUser ? 1 : 0);
    EXPECT_EQ(Destroyed(large), !c.otherUser);
    first.reset();  // gives nothing back a second time
    SM_DAT probe;
    EXPECT_FALSE(cache.FindCached(probe, "x.ico", 3, 4));
    if (c.otherUser) {
      other.reset();  // the last user destroys the keyless node
      EXPECT_EQ(cache.Count(), 0);
      EXPECT_TRUE(Destroyed(large));
    }
    EXPECT_EQ(std::count(g_destroyed.begin(), g_destroyed.end(), large), 1);
  }
}

TEST_F(IconCacheTest, NodeKeepsOwnershipOnlyOfIconsTheEntryOwned) {
  IconCache cache;
  char shared[2];
  auto borrowed = std::make_unique<SM_DAT>();
  borrowed->largeIcon = &shared[0];
  borrowed->smallIcon = &shared[1];
  borrowed->iconFlags = 0;  // e.g. the program's built-in icons
  cache.AddToCache(*borrowed, "z.exe");
  borrowed.reset();
  cache.Clear();
  EXPECT_TRUE(g_destroyed.empty());
}

}  // namespace
