#include "os/posix/path_map.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "os/types.h"

namespace os::posix {
namespace {

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Host directory that a drive letter stands for: Z: is "/", another letter X: is the value of
// SORM_DRIVE_X when set.
bool DriveRoot(char letter, std::string& root) {
  letter = static_cast<char>(letter & ~0x20);
  if (letter == 'Z') {
    root.clear();
    return true;
  }
  char var[] = "SORM_DRIVE_X";
  var[sizeof(var) - 2] = letter;
  const char* v = std::getenv(var);
  if (!v || !*v) return false;
  root = v;
  while (!root.empty() && root.back() == '/') root.pop_back();
  return true;
}

// Replaces a component that does not exist by a case-insensitive match in its directory.
std::string ResolveCase(const std::string& path) {
  struct stat st;
  if (path.empty() || lstat(path.c_str(), &st) == 0) return path;
  std::string out;
  size_t i = 0;
  if (path[0] == '/') {
    out = "/";
    i = 1;
  }
  while (i <= path.size()) {
    size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    std::string comp = path.substr(i, j - i);
    if (!comp.empty()) {
      std::string candidate = out + comp;
      if (lstat(candidate.c_str(), &st) != 0 && comp != "." && comp != "..") {
        std::string dir = out.empty() ? "." : out;
        if (DIR* d = opendir(dir.c_str())) {
          while (dirent* e = readdir(d)) {
            if (strcasecmp(e->d_name, comp.c_str()) == 0) {
              candidate = out + e->d_name;
              break;
            }
          }
          closedir(d);
        }
      }
      out = candidate;
      if (j < path.size()) out += '/';
    } else if (j < path.size() && !out.empty() && out.back() != '/') {
      out += '/';
    }
    i = j + 1;
  }
  return out;
}

}  // namespace

std::string ToHostPath(const char* winPath) {
  if (!winPath) return std::string();
  std::string in(winPath);
  std::string out;
  size_t i = 0;
  if (in.size() >= 2 && in[1] == ':' &&
      ((in[0] >= 'A' && in[0] <= 'Z') || (in[0] >= 'a' && in[0] <= 'z'))) {
    std::string root;
    if (!DriveRoot(in[0], root)) return std::string();
    i = 2;
    if (i >= in.size() || (in[i] != '\\' && in[i] != '/')) {
      // "X:name" is relative to the drive's current directory; only the current drive has one.
      char cwd[4096];
      if (!getcwd(cwd, sizeof(cwd))) return std::string();
      out = cwd;
      if (out.compare(0, root.size(), root) != 0) out = root;
      out += '/';
    } else {
      out = root;
    }
  }
  for (; i < in.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    if (IsLead(c) && i + 1 < in.size()) {
      out += in[i];
      out += in[++i];
    } else if (c == '\\') {
      out += '/';
    } else {
      out += in[i];
    }
  }
  if (out.empty()) return std::string();
  if (out.size() >= 4096) return std::string();
  return ResolveCase(out);
}

std::string ToWinPath(const std::string& hostPath) {
  std::string out = "Z:";
  for (char c : hostPath) out += (c == '/') ? '\\' : c;
  if (out.size() == 2) out += '\\';
  return out;
}

}  // namespace os::posix
