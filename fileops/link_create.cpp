#include "fileops/link_create.h"

#include <functional>
#include <set>

#include "config/config_file.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "links/link_file.h"
#include "links/shortcut.h"
#include "os/last_error.h"
#include "os/mbcs.h"
#include "os/services.h"
#include "os/path_text.h"

namespace fileops {
namespace {

constexpr const char* kSection = "Link";
constexpr long kLastNumber = 99999999;
// Names that cannot be opened for a reason other than "no such file" count as taken; this
// many of them in a row mean the directory itself is unusable, and the search ends.
constexpr int kMaxUnexplained = 64;

// A name with its single-byte letters in upper case, for comparing names without regard to
// case (the trail bytes of double-byte characters are left alone).
std::string UpperKey(const std::string& name) {
  std::string key = name;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (mbcs::IsLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size()) {
      ++i;
    } else if (key[i] >= 'a' && key[i] <= 'z') {
      key[i] = static_cast<char>(key[i] - 'a' + 'A');
    }
  }
  return key;
}

std::set<std::string> ExistingNames(const std::string& directory, const char* pattern) {
  std::set<std::string> names;
  os::FindData fd;
  std::unique_ptr<os::Finder> search = os::Fs().FindFirst((directory + pattern).c_str(), fd);
  for (bool more = search != nullptr; more; more = search->Next(fd)) names.insert(UpperKey(fd.name));
  return names;
}

enum class NameState { kFree, kTaken, kUnknown };

NameState ProbeName(const std::string& path) {
  constexpr uint32_t kShareAll = os::kShareRead | os::kShareWrite | os::kShareDelete;
  if (os::Fs().Open(path.c_str(), os::kGenericRead, kShareAll, os::kOpenExisting))
    return NameState::kTaken;
  if (IsNotFoundError(os::LastError())) return NameState::kFree;
  return NameState::kUnknown;
}

// The first free name candidate(n), n = first .. kLastNumber, in directory (which ends in a
// separator): 0 with its path in out, -1 when a name does not fit a path, -3 when none is free.
int FindFreeName(const std::string& directory, const char* pattern, long first,
                 const std::function<std::string(long)>& candidate, std::string& out) {
  const std::set<std::string> existing = ExistingNames(directory, pattern);
  int unexplained = 0;
  for (long n = first; n <= kLastNumber; ++n) {
    const std::string name = candidate(n);
    if (existing.count(UpperKey(name))) continue;
    std::string path;
    if (!JoinPath(directory, name.c_str(), path)) return -1;
    switch (ProbeName(path)) {
      case NameState::kFree: out = path; return 0;
      case NameState::kTaken: unexplained = 0; break;
      case NameState::kUnknown:
        if (++unexplained >= kMaxUnexplained) return -3;
        break;
    }
  }
  return -3;
}

// The profile functions take a name without a directory from the Windows directory, so every
// link file is written under its full path.
std::string ProfilePath(const char* linkFile) {
  std::string path = os::InCurrentDirectory(linkFile);
  char full[os::kMaxPath];
  uint32_t n = os::Fs().GetFullPath(path.c_str(), full, sizeof(full));
  return n > 0 && n < sizeof(full) ? std::string(full, n) : path;
}

// A value with a line break is refused by the writer: a link file is read line by line too.
int WriteKey(const char* linkFile, const char* key, const char* value) {
  const std::string file = ProfilePath(linkFile);
  const bool ok = value ? config::WriteProfileValue(file, kSection, key, value)
                        : config::DeleteProfileKey(file, kSection, key);
  return ok ? 0 : -1;
}

struct PathParts {
  std::string drive, directory, name, extension;
};

// _splitpath, double-byte aware.
PathParts SplitPath(const std::string& path) {
  PathParts parts;
  std::size_t start = 0;
  if (path.size() >= 2 && path[1] == ':' && !mbcs::IsLeadByte(static_cast<unsigned char>(path[0]))) {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  std::size_t nameAt = start, dotAt = std::string::npos;
  for (const char* p = path.c_str() + start; *p; p = mbcs::Next(p)) {
    std::size_t at = static_cast<std::size_t>(p - path.c_str());
    if (*p == '\\' || *p == '/') {
      nameAt = at + 1;
      dotAt = std::string::npos;
    } else if (*p == '.') {
      dotAt = at;
    }
  }
  parts.directory = path.substr(start, nameAt - start);
  if (dotAt == std::string::npos) {
    parts.name = path.substr(nameAt);
  } else {
    parts.name = path.substr(nameAt, dotAt - nameAt);
    parts.extension = path.substr(dotAt);
  }
  return parts;
}

}  // namespace

int CreateLinkFile(const char* target, const char* directory, const char* title,
                   std::string* made) {
  std::string path;
  int found = FindFreeName(WithTrailingBackslash(directory), "*.LFI", 0,
                           [](long n) { return std::to_string(n) + ".LFI"; }, path);
  if (found != 0) return found;
  const std::string file = ProfilePath(path.c_str());
  auto fail = [&file](int code) {
    os::Fs().DeleteFile(file.c_str());
    return code;
  };
  if (WriteKey(file.c_str(), "Link", target) != 0) return fail(-1);
  const PathParts final = SplitPath(links::FollowLinkChain(file));
  const std::string defaultTitle = final.name + final.extension + " へのリンク";
  if (WriteKey(file.c_str(), "Title", title ? title : defaultTitle.c_str()) != 0) return fail(-2);
  const std::string current = final.drive + final.directory;
  if (WriteKey(file.c_str(), "Current", current.c_str()) != 0) return fail(-2);
  if (made) *made = file;
  return 0;
}

int WriteLinkTitle(const char* linkFile, const char* title) {
  return WriteKey(linkFile, "Title", title);
}

int WriteLinkTarget(const char* linkFile, const char* target) {
  return WriteKey(linkFile, "Link", target);
}

int WriteLinkWorkingDirectory(const char* linkFile, const char* directory) {
  return WriteKey(linkFile, "Current", directory);
}

std::string ShortcutBaseName(const char* target) {
  const PathParts parts = SplitPath(os::FileNamePart(target));
  return links::IsShortcutName(target) ? parts.name : parts.name + "へのｼｮｰﾄｶｯﾄ";
}

int CreateShortcut(const char* target, const char* directory, const char* iconLocation,
                   const char* workingDirectory, std::string* made) {
  const std::string base = ShortcutBaseName(target);
  std::string path;
  int found = FindFreeName(WithTrailingBackslash(directory), "*.LNK", 1,
                           [&base](long n) {
                             return n == 1 ? base + ".LNK"
                                           : base + " (" + std::to_string(n) + ").LNK";
                           },
                           path);
  if (found == -3) return -3;
  if (found != 0) return -1;
  os::ShellLinkFields wanted;
  wanted.target = target;
  wanted.iconLocation = iconLocation ? iconLocation : "";
  wanted.description = base;
  wanted.workingDirectory = workingDirectory ? workingDirectory : "";
  if (!os::Links().Write(path.c_str(), wanted)) {
    if (os::Fs().GetAttributes(path.c_str()) != os::kInvalidAttributes)
      os::Fs().DeleteFile(path.c_str());
    return -1;
  }
  if (made) *made = path;
  return 0;
}

std::string ShortcutWorkingDirectory(const char* droppedPath, bool isDirectory) {
  if (isDirectory) return std::string();
  std::string directory = DirectoryPart(droppedPath);
  const bool root = directory.size() == 1 || (directory.size() == 3 && directory[1] == ':');
  if (!directory.empty() && !root && directory.back() != ':') directory.pop_back();
  return directory;
}

}  // namespace fileops
