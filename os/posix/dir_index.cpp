#include "os/posix/dir_index.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <list>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "os/posix/cp932_units.h"
#include "os/posix/host_names.h"
#include "os/posix/short_name.h"

namespace os::posix {
namespace {

// Directories indexed at once; the least recently used goes first.
constexpr std::size_t kMaxIndexes = 16;

struct Stamp {
  dev_t dev = 0;
  ino_t ino = 0;
  struct timespec mtime = {};
  struct timespec ctime = {};

  static Stamp Of(const struct stat& st) {
    return Stamp{st.st_dev, st.st_ino, st.st_mtim, st.st_ctim};
  }
  bool operator==(const Stamp& o) const {
    return dev == o.dev && ino == o.ino && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
           ctime.tv_nsec == o.ctime.tv_nsec;
  }
};

// Names are compared as the program sees them (their CP932 listing); an entry whose listed name
// does not lead back to it (a character without an exact form) is found through its alias only.
struct Index {
  std::string dir;
  Stamp stamp;
  std::vector<std::string> names;                         // host names: listing order, creates appended
  std::unordered_map<std::string, std::size_t> byName;    // folded listed name -> first in names
  std::unordered_map<std::string, std::size_t> byAlias;   // folded alias -> first in names
  bool aliasesBuilt = false;

  void Add(std::string name) {
    const std::size_t at = names.size();
    std::string listed;
    if (WinFromHostName(name, listed)) byName.emplace(FoldedName(listed), at);
    if (aliasesBuilt) AddAlias(name, at);
    names.push_back(std::move(name));
  }
  void AddAlias(std::string_view name, std::size_t at) {
    char alias[kShortAliasBuffer];
    if (ShortAliasInto(name, alias)) byAlias.emplace(FoldedName(alias), at);
  }
  void BuildAliases() {
    for (std::size_t i = 0; i < names.size(); ++i) AddAlias(names[i], i);
    aliasesBuilt = true;
  }
};

std::mutex g_mutex;
std::list<Index> g_indexes;  // most recently used first; guarded by g_mutex

const char* HostDir(const std::string& dir) { return dir.empty() ? "/" : dir.c_str(); }

// Lists dir into a fresh index; false when it cannot be listed. The stamp is taken before the
// listing, so that a change made while listing shows as a changed stamp later.
bool List(const std::string& dir, Index& out) {
  DIR* d = opendir(HostDir(dir));
  if (!d) return false;
  struct stat st;
  if (fstat(dirfd(d), &st) != 0) {
    closedir(d);
    return false;
  }
  out.dir = dir;
  out.stamp = Stamp::Of(st);
  out.names.clear();
  out.byName.clear();
  out.byAlias.clear();
  out.aliasesBuilt = false;
  while (dirent* e = readdir(d)) {
    std::string_view n(e->d_name);
    if (n == "." || n == "..") continue;
    out.Add(std::string(n));
  }
  closedir(d);
  return true;
}

// The index of dir, current with the directory, moved to the front; null when dir cannot be
// listed. Called with g_mutex held.
Index* Current(const std::string& dir, bool relist) {
  auto it = g_indexes.begin();
  while (it != g_indexes.end() && it->dir != dir) ++it;
  if (it != g_indexes.end()) {
    g_indexes.splice(g_indexes.begin(), g_indexes, it);
    struct stat st;
    Index& index = g_indexes.front();
    if (!relist && stat(HostDir(dir), &st) == 0 && Stamp::Of(st) == index.stamp) return &index;
    if (List(dir, index)) return &index;
    g_indexes.pop_front();
    return nullptr;
  }
  Index fresh;
  if (!List(dir, fresh)) return nullptr;
  g_indexes.push_front(std::move(fresh));
  if (g_indexes.size() > kMaxIndexes) g_indexes.pop_back();
  return &g_indexes.front();
}

bool Exists(const std::string& dir, const std::string& name) {
  struct stat st;
  return lstat((dir + "/" + name).c_str(), &st) == 0;
}

std::string Lookup(Index& index, const std::string& folded, bool couldBeAlias) {
  auto hit = index.byName.find(folded);
  if (hit != index.byName.end()) return index.names[hit->second];
  if (!couldBeAlias) return std::string();
  if (!index.aliasesBuilt) index.BuildAliases();
  auto alias = index.byAlias.find(folded);
  return alias == index.byAlias.end() ? std::string() : index.names[alias->second];
}

}  // namespace

std::string FindEntryNoCase(const std::string& dir, const std::string& name) {
  std::string sought;
  WinFromHostName(name, sought);
  const bool couldBeAlias = IsLegal83Name(sought) && sought.find('~') != std::string::npos;
  const std::string folded = FoldedName(sought);
  std::lock_guard<std::mutex> lock(g_mutex);
  Index* index = Current(dir, false);
  if (!index) return std::string();
  std::string found = Lookup(*index, folded, couldBeAlias);
  // An index that took in a create may miss a removal made by someone else just before it:
  // check the answer, and list again when it is gone.
  if (!found.empty() && !Exists(dir, found)) {
    index = Current(dir, true);
    found = index ? Lookup(*index, folded, couldBeAlias) : std::string();
  }
  return found;
}

void NoteEntryCreated(const std::string& dir, const std::string& name) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_indexes.begin();
  while (it != g_indexes.end() && it->dir != dir) ++it;
  if (it == g_indexes.end()) return;
  struct stat st;
  if (stat(HostDir(dir), &st) != 0) {
    g_indexes.erase(it);
    return;
  }
  // The index was current when the name was looked up just before the create; it now also
  // holds the new name, as of the directory's new stamp.
  it->Add(name);
  it->stamp = Stamp::Of(st);
}

void ForgetDirectoryIndexes() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_indexes.clear();
}

}  // namespace os::posix
