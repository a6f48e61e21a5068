#include "os/path_text.h"

#include <cstring>

#include "os/mbcs.h"
#include "os/services.h"

namespace os {

std::string DirectoryString(const std::string& path) {
  std::string dir = path;
  for (std::size_t i = 0; i < dir.size(); ++i) {
    if (dir[i] == '/' && !mbcs::IsTrailByteAt(dir.c_str(), i)) dir[i] = '\\';
  }
  if (dir.empty()) return "\\";
  char last = dir.back();
  bool separator = last == '\\' || last == '/' || last == ':';
  if (!separator || mbcs::IsTrailByteAt(dir.c_str(), dir.size() - 1)) dir += '\\';
  return dir;
}

bool HasDriveOrDirectory(const char* path) {
  return mbcs::FindChar(path, ':') || mbcs::FindChar(path, '\\') || mbcs::FindChar(path, '/');
}

const char* FileNamePart(const char* path) {
  const char* start = path;
  for (const char* p = path; *p; p = mbcs::Next(p)) {
    if (*p == '\\' || *p == '/' || *p == ':') start = p + 1;
  }
  return start;
}

bool HasSuffixNoCase(const char* name, const char* suffix4) {
  std::size_t n = std::strlen(name);
  if (n <= 3) return false;
  std::size_t at = n - 4;
  for (std::size_t i = 0; i < 4; ++i) {
    char a = name[at + i];
    char b = suffix4[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
    if (a != b) return false;
  }
  return !mbcs::IsTrailByteAt(name, at);
}

std::string InCurrentDirectory(const char* path) {
  if (HasDriveOrDirectory(path)) return path;
  char cwd[os::kMaxPath] = {};
  uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
  if (n == 0 || n >= sizeof(cwd)) return path;
  return DirectoryString(std::string(cwd, n)) + path;
}

bool FitsBuffer(const std::string& text, std::size_t bufferSize) {
  return text.size() < bufferSize && text.find('\0') == std::string::npos;
}

bool TakeWholeText(const char* buffer, std::size_t size, std::size_t maxBytes,
                   std::string& out) {
  if (!buffer || size == 0) return false;
  const void* end = std::memchr(buffer, '\0', size);
  if (!end) return false;
  const std::size_t n = static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
  if (n > maxBytes || n + 2 >= size) return false;
  out.assign(buffer, n);
  return true;
}

}  // namespace os
