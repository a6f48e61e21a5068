#include "fileops/engine_path.h"

#include <cstring>

#include "os/mbcs.h"

namespace fileops {

bool EndsWithSeparator(const std::string& path) {
  if (path.empty()) return false;
  char last = path.back();
  if (last != '\\' && last != '/' && last != ':') return false;
  return !mbcs::IsTrailByteAt(path.c_str(), path.size() - 1);
}

std::string WithTrailingBackslash(const std::string& path) {
  return EndsWithSeparator(path) ? path : path + '\\';
}

bool HasColon(const char* path) { return mbcs::FindChar(path, ':') != nullptr; }

bool EndsWithColon(const std::string& path) {
  return !path.empty() && path.back() == ':' &&
         !mbcs::IsTrailByteAt(path.c_str(), path.size() - 1);
}

std::size_t LastBackslash(const std::string& path) {
  const char* p = mbcs::FindLastChar(path.c_str(), '\\');
  return p ? static_cast<std::size_t>(p - path.c_str()) : std::string::npos;
}

std::string DirectoryPart(const std::string& path) {
  std::size_t cut = std::string::npos;
  for (const char* p = path.c_str(); *p; p = mbcs::Next(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') cut = static_cast<std::size_t>(p - path.c_str());
  }
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool JoinPath(const std::string& directory, const char* name, std::string& out) {
  if (directory.size() + std::strlen(name) > kMaxPathChars) return false;
  out = directory;
  out += name;
  return true;
}

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace fileops
