#include "os/posix/find_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "os/exact_name.h"
#include "os/posix/cp932_units.h"
#include "os/posix/dos_attr_posix.h"
#include "os/posix/file_time_posix.h"
#include "os/posix/host_names.h"
#include "os/posix/path_map.h"
#include "os/posix/posix_error.h"
#include "os/posix/short_name.h"
#include "os/posix/wildcard_match.h"

namespace os::posix {
namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// The last component of the pattern as typed (after the last separator or "X:").
std::string TypedMask(const std::string& pattern) {
  std::size_t start = 0;
  if (pattern.size() >= 2 && pattern[1] == ':') start = 2;
  for (std::size_t i = 0; i < pattern.size();) {
    std::size_t n = UnitLength(pattern, i);
    if (n == 1 && (pattern[i] == '\\' || pattern[i] == '/')) start = i + 1;
    i += n;
  }
  return pattern.substr(start);
}

// name: the listed (CP932) name; alias: the entry's 8.3 alias ("" for a legal 8.3 name).
// linkToDirectory: the entry is a symbolic link to a directory, reported as a reparse point.
void Fill(FindData& out, std::string_view name, bool unmappable, const char* alias,
          const struct stat& st, uint32_t stored, bool linkToDirectory) {
  out = FindData{};
  out.attributes = AttributesFrom(st, stored);
  if (linkToDirectory) out.attributes |= kAttrReparsePoint;
  TimesFromStat(st, &out.creationTime, &out.lastAccessTime, &out.lastWriteTime);
  out.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  std::size_t n = name.size();
  if (n >= sizeof(out.name)) {
    // Too long for the record: cut at a character boundary; the cut name leads nowhere.
    n = 0;
    for (std::size_t at = 0; at < name.size();) {
      const std::size_t len = UnitLength(name, at);
      if (at + len >= sizeof(out.name)) break;
      at += len;
      n = at;
    }
    unmappable = true;
  }
  std::memcpy(out.name, name.data(), n);
  // A name the path calls would rewrite ("a." is "a") leads elsewhere as much as a look-alike.
  out.unmappable = unmappable || !NameLeadsBack(out.name);
  std::size_t a = std::strlen(alias);
  if (a < sizeof(out.alternateName)) std::memcpy(out.alternateName, alias, a);
}

class PosixFinder final : public Finder {
 public:
  PosixFinder(DirHandle dir, std::string hostDir, std::string typedMask, bool wildcard,
              bool isRoot)
      : dir_(std::move(dir)),
        xattrs_(dirfd(dir_.get()), hostDir == "/" ? hostDir : hostDir + '/'),
        typed_(std::move(typedMask)),
        mask_(typed_),
        wildcard_(wildcard),
        stage_(isRoot ? kEntries : kDot) {}

  bool Next(FindData& out) override {
    if (!wildcard_) {
      if (stage_ != kDone) {
        stage_ = kDone;
        if (NextExact(out)) return true;
      }
      return Fail(kErrNoMoreFiles);
    }
    while (stage_ == kDot || stage_ == kDotDot) {
      const char* name = stage_ == kDot ? "." : "..";
      stage_ = stage_ == kDot ? kDotDot : kEntries;
      if (mask_.Matches(name) && FillFrom(out, name)) return true;
    }
    if (stage_ == kEntries) {
      while (dirent* e = readdir(dir_.get())) {
        std::string_view n(e->d_name);
        if (n == "." || n == "..") continue;
        if (!MatchesName(n)) continue;
        if (FillFrom(out, e->d_name)) return true;
      }
      stage_ = kDone;
    }
    return Fail(kErrNoMoreFiles);
  }

 private:
  enum Stage { kDot, kDotDot, kEntries, kDone };

  // True when the listed form of the host name, or else its alias, matches the mask. A name
  // without wildcards is one entry's name: a listed look-alike does not match it, as Windows
  // compares the real names. The listed name, and the alias when it was made, are kept for
  // FillFrom.
  bool MatchesName(std::string_view host) {
    aliasKnown_ = false;
    listedExact_ = WinFromHostName(host, listed_);
    listedKnown_ = true;
    if ((wildcard_ || listedExact_) && mask_.Matches(listed_)) return true;
    aliasKnown_ = true;
    return ShortAliasInto(host, alias_) != 0 && mask_.Matches(alias_);
  }

  // name: the host name, NUL-terminated. Uses what MatchesName made for the same name.
  bool FillFrom(FindData& out, const char* name) {
    struct stat st;
    if (fstatat(dirfd(dir_.get()), name, &st, 0) != 0 &&
        fstatat(dirfd(dir_.get()), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
      return false;  // gone since it was listed, or a broken link
    // Only a directory needs the second look: a link to one is a reparse point, as under Wine.
    struct stat own;
    const bool linkToDirectory = S_ISDIR(st.st_mode) &&
                                 fstatat(dirfd(dir_.get()), name, &own, AT_SYMLINK_NOFOLLOW) == 0 &&
                                 S_ISLNK(own.st_mode);
    std::string_view n(name);
    if (!aliasKnown_) ShortAliasInto(n, alias_);
    if (!listedKnown_) listedExact_ = WinFromHostName(n, listed_);
    aliasKnown_ = listedKnown_ = false;
    Fill(out, listed_, !listedExact_, alias_, st, xattrs_.Read(name, st), linkToDirectory);
    return true;
  }

  // A mask without wildcards names one entry: its exact name, else the first entry equal
  // to it without regard to case or through its alias.
  bool NextExact(FindData& out) {
    struct stat st;
    const std::string host = HostFromWinName(typed_);
    if (fstatat(dirfd(dir_.get()), host.c_str(), &st, 0) == 0) return FillFrom(out, host.c_str());
    while (dirent* e = readdir(dir_.get())) {
      std::string_view n(e->d_name);
      if (n == "." || n == "..") continue;
      if (MatchesName(n) && FillFrom(out, e->d_name)) return true;
    }
    return false;
  }

  DirHandle dir_;
  DirXattrReader xattrs_;
  char alias_[kShortAliasBuffer] = {};
  bool aliasKnown_ = false;  // alias_ belongs to the name just matched
  std::string listed_;       // the CP932 form of the name just matched
  bool listedExact_ = true;
  bool listedKnown_ = false;
  std::string typed_;
  WildcardMask mask_;
  bool wildcard_;
  Stage stage_;
};

}  // namespace

std::unique_ptr<Finder> FindFirstFile(const char* pattern, FindData& out) {
  if (!pattern || !*pattern) {
    Fail(kErrPathNotFound);
    return nullptr;
  }
  const std::string typed = TypedMask(pattern);
  const bool wildcard = HasWildcards(typed);
  std::string full;
  if (!MakeFullPath(pattern, CurrentDirectory(), full)) {
    Fail(kErrPathNotFound);
    return nullptr;
  }
  std::string dir, name;
  SplitLast(full, dir, name);
  if (uint32_t e = CheckPathText(dir)) {
    Fail(e);
    return nullptr;
  }
  // Without wildcards the name is the collapsed one ("a." is "a"); with them, as typed.
  std::string mask = wildcard ? typed : name;
  if (typed.empty() || mask.empty() || dir.empty()) {
    Fail(kErrFileNotFound);
    return nullptr;
  }
  if (!wildcard) {
    if (uint32_t e = CheckPathText(mask)) {
      Fail(e);
      return nullptr;
    }
  }
  std::string hostDir = HostFromFull(dir);
  if (hostDir.empty()) {
    Fail(kErrPathNotFound);
    return nullptr;
  }
  DirHandle d(opendir(hostDir.c_str()));
  if (!d) {
    struct stat st;
    if (errno == ENOTDIR && stat(hostDir.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
      Fail(kErrDirectory);  // "file\*"
    else if (errno == ENOENT || errno == ENOTDIR)
      Fail(kErrPathNotFound);
    else
      FailErrno(hostDir);
    return nullptr;
  }
  auto finder = std::make_unique<PosixFinder>(std::move(d), hostDir, mask, wildcard,
                                              IsDriveRoot(dir));
  if (!finder->Next(out)) {
    Fail(kErrFileNotFound);
    return nullptr;
  }
  return finder;
}

}  // namespace os::posix
