#include "os/posix/path_map.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "os/exact_name.h"
#include "os/mbcs.h"
#include "os/posix/cp932_units.h"
#include "os/posix/dir_index.h"
#include "os/posix/host_names.h"
#include "os/posix/posix_error.h"
#include "os/types.h"

namespace os::posix {
namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Splits text into components at "\" and "/", character by character.
std::vector<std::string> SplitComponents(std::string_view text) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = UnitLength(text, i);
    if (n == 1 && IsSep(text[i])) {
      parts.emplace_back();
    } else {
      parts.back().append(text.substr(i, n));
    }
    i += n;
  }
  return parts;
}

// Joins "X:" and the components collapsed as the system does.
std::string Collapse(const std::string& drive, std::string_view rest) {
  std::vector<std::string> parts = SplitComponents(rest);
  const bool trailingSep = parts.size() > 1 && parts.back().empty();
  std::vector<std::string> out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string& c = parts[i];
    const bool last = i + 1 == parts.size();
    if (c.empty()) continue;
    if (c == ".") continue;
    if (c == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    if (!last && c.back() == '.') c.pop_back();  // "a.\b" is "a\b"
    out.push_back(c);
  }
  std::string full = drive + "\\";
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i) full += '\\';
    full += out[i];
  }
  if (trailingSep) {
    if (full.back() != '\\') full += '\\';
  } else {
    while (full.size() > 3 && (full.back() == ' ' || full.back() == '.')) full.pop_back();
  }
  return full;
}

// A current directory has no separator at its end, except a drive's root ("X:\\"). A final
// 0x5C that is the trail byte of a double-byte character ("表" is 0x95 0x5C) is part of the name.
void DropTrailingSeparator(std::string& path) {
  if (path.size() > 3 && path.back() == '\\' && !mbcs::IsTrailByteAt(path.c_str(), path.size() - 1))
    path.pop_back();
}

std::mutex g_cwdMutex;
std::string g_cwd;  // guarded by g_cwdMutex; empty until first use

// The components of a host path ("/" is always a separator in UTF-8).
std::vector<std::string> SplitHost(std::string_view path) {
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (c == '/') parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

// Replaces components that do not exist with their exact case by the names found in their
// directories. Stops resolving at the first component that is missing altogether.
std::string ResolveCase(const std::string& path, bool keepLastCase) {
  struct stat st;
  if (path.empty() || lstat(path.c_str(), &st) == 0) return path;
  std::vector<std::string> parts = SplitHost(path);
  std::string out;
  bool missing = false;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::string& comp = parts[i];
    const bool last = i + 1 == parts.size();
    std::string candidate = out + "/" + comp;
    if (!comp.empty() && !missing && !(last && keepLastCase) &&
        lstat(candidate.c_str(), &st) != 0) {
      std::string real = FindEntryNoCase(out, comp);
      if (real.empty())
        missing = true;
      else
        candidate = out + "/" + real;
    }
    out = candidate;
  }
  return out.empty() ? "/" : out;
}

}  // namespace

bool DriveRoot(char letter, std::string& root) {
  letter = Upper(letter);
  if (letter == 'Z') {
    root.clear();
    return true;
  }
  if (letter < 'A' || letter > 'Z') return false;
  char var[] = "SORM_DRIVE_X";
  var[sizeof(var) - 2] = letter;
  const char* v = std::getenv(var);
  if (!v || v[0] != '/') return false;
  root = v;
  while (!root.empty() && root.back() == '/') root.pop_back();
  return true;
}

bool IsDriveRoot(std::string_view full) {
  return full.size() == 3 && IsLetter(full[0]) && full[1] == ':' && IsSep(full[2]);
}

bool MakeFullPath(std::string_view path, std::string_view cwd, std::string& out) {
  if (path.empty() || cwd.size() < 3) return false;
  if (path.size() >= 2 && IsSep(path[0]) && IsSep(path[1])) {
    // "\\?\X:\..." names a Win32 path directly; other UNC names are not emulated.
    if (path.size() >= 7 && path[2] == '?' && IsSep(path[3]) && IsLetter(path[4]) &&
        path[5] == ':')
      return MakeFullPath(path.substr(4), cwd, out);
    return false;
  }
  const std::string cwdDrive(cwd.substr(0, 2));
  if (path.size() >= 2 && IsLetter(path[0]) && path[1] == ':') {
    std::string drive{Upper(path[0]), ':'};
    std::string_view rest = path.substr(2);
    if (!rest.empty() && IsSep(rest[0])) {
      out = Collapse(drive, rest);
    } else if (Upper(cwd[0]) == drive[0]) {
      out = Collapse(cwdDrive, std::string(cwd.substr(2)) + "\\" + std::string(rest));
    } else {
      out = Collapse(drive, "\\" + std::string(rest));
    }
    return true;
  }
  if (IsSep(path[0])) {
    out = Collapse(cwdDrive, path);
    return true;
  }
  out = Collapse(cwdDrive, std::string(cwd.substr(2)) + "\\" + std::string(path));
  return true;
}

std::string CurrentDirectory() {
  std::lock_guard<std::mutex> lock(g_cwdMutex);
  if (g_cwd.empty()) {
    char buf[4096];
    g_cwd = getcwd(buf, sizeof(buf)) ? ToWinPath(buf) : std::string("Z:\\");
    DropTrailingSeparator(g_cwd);
  }
  return g_cwd;
}

void StoreCurrentDirectory(const std::string& full) {
  std::lock_guard<std::mutex> lock(g_cwdMutex);
  g_cwd = full;
  DropTrailingSeparator(g_cwd);
}

uint32_t CheckPathText(std::string_view path) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < path.size();) {
    std::size_t n = UnitLength(path, i);
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (n == 1) {
      if (c < 0x20 || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '"')
        return kErrInvalidName;
      if (c == ':' && i != 1) return kErrInvalidName;
    }
    i += n;
    ++chars;
  }
  if (chars >= kMaxPath) return kErrFilenameExcedRange;
  return 0;
}

std::string HostFromFull(const std::string& full, bool keepLastCase) {
  if (full.size() < 3 || !IsLetter(full[0]) || full[1] != ':') return std::string();
  std::string root;
  if (!DriveRoot(full[0], root)) return std::string();
  std::string host = root;
  std::string_view rest(full);
  rest.remove_prefix(2);
  std::vector<std::string> parts = SplitComponents(rest);
  // A device name at the end is the device, never a file of that name (there are no devices
  // here, so such a path reaches nothing).
  if (IsDosDeviceName(parts.back())) return std::string();
  for (std::size_t i = 1; i < parts.size(); ++i) {
    // "a\...\b" collapses to a literal ".." component, which names nothing on Windows; the
    // host would take it for the parent directory.
    if (parts[i] == "." || parts[i] == "..") return std::string();
    host += '/';
    host += HostFromWinName(parts[i]);
  }
  if (host.empty()) host = "/";
  if (host.size() > 1 && host.back() == '/') host.pop_back();
  return ResolveCase(host, keepLastCase);
}

std::string ToHostPath(const char* winPath) {
  if (!winPath) return std::string();
  std::string full;
  if (CheckPathText(winPath) != 0) return std::string();
  if (!MakeFullPath(winPath, CurrentDirectory(), full)) return std::string();
  return HostFromFull(full);
}

std::string ToWinPath(const std::string& hostPath) {
  // A mapped drive whose root holds the path wins over Z:, the longest root first.
  std::string bestRoot;
  char bestLetter = 'Z';
  for (char letter = 'A'; letter < 'Z'; ++letter) {
    std::string root;
    if (!DriveRoot(letter, root) || root.empty() || root.size() <= bestRoot.size()) continue;
    if (hostPath.compare(0, root.size(), root) == 0 &&
        (hostPath.size() == root.size() || hostPath[root.size()] == '/')) {
      bestRoot = root;
      bestLetter = letter;
    }
  }
  std::string out{bestLetter, ':'};
  std::string listed;
  const std::vector<std::string> parts =
      SplitHost(std::string_view(hostPath).substr(bestRoot.size()));
  for (std::size_t i = 1; i < parts.size(); ++i) {
    WinFromHostName(parts[i], listed);
    out += '\\';
    out += listed;
  }
  if (out.size() == 2) out += '\\';
  return out;
}

void SplitLast(const std::string& full, std::string& dir, std::string& name) {
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < full.size();) {
    std::size_t n = UnitLength(full, i);
    if (n == 1 && IsSep(full[i])) cut = i;
    i += n;
  }
  if (cut == std::string::npos) {
    dir.clear();
    name = full;
    return;
  }
  dir = full.substr(0, cut == 2 ? 3 : cut);
  name = full.substr(cut + 1);
}

}  // namespace os::posix
