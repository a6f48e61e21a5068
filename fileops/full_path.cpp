#include "fileops/full_path.h"

#include "fileops/engine_path.h"
#include "os/mbcs.h"
#include "os/services.h"

namespace fileops {
namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool HasDrive(const std::string& p) { return p.size() >= 2 && IsLetter(p[0]) && p[1] == ':'; }

bool IsUnc(const std::string& p) { return p.size() >= 2 && IsSlash(p[0]) && IsSlash(p[1]); }

// "C:" of "C:\dir", "\\server\share" of "\\server\share\dir"; empty when there is neither.
std::string RootOf(const std::string& directory) {
  if (HasDrive(directory)) return directory.substr(0, 2);
  if (!IsUnc(directory)) return std::string();
  // The server and the share: up to the fourth separator (names may hold double-byte
  // characters whose trail byte is "\").
  int separators = 0;
  for (const char* p = directory.c_str(); *p; p = mbcs::Next(p)) {
    if (IsSlash(*p) && ++separators == 4) return directory.substr(0, p - directory.c_str());
  }
  return directory;
}

}  // namespace

std::string JoinToDirectory(const std::string& directory, const std::string& path) {
  if (path.empty()) return std::string();
  if (IsUnc(path)) return path;
  if (HasDrive(path)) {
    if (path.size() > 2 && IsSlash(path[2])) return path;
    const std::string rest = path.substr(2);
    if (HasDrive(directory) && Upper(directory[0]) == Upper(path[0]))
      return rest.empty() ? directory : WithTrailingBackslash(directory) + rest;
    return path.substr(0, 2) + "\\" + rest;
  }
  if (IsSlash(path[0])) return RootOf(directory) + path;
  return WithTrailingBackslash(directory) + path;
}

std::string FullPathIn(const std::string& directory, const std::string& path) {
  const std::string joined = JoinToDirectory(directory, path);
  if (joined.empty()) return joined;
  char full[os::kMaxPath];
  const uint32_t n = os::Fs().GetFullPath(joined.c_str(), full, sizeof(full));
  if (n == 0 || n >= sizeof(full)) return std::string();
  return std::string(full, n);
}

}  // namespace fileops
