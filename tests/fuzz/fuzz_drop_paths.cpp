// Paths of a drop block with device, raw and network forms: a block holding a device or raw
// path ("\\.\", "\\?\", with either slash) is refused whole, and every path of a block that
// reads is a full path of a drive or a share, judged here character by character (a server
// name may end in a double-byte character whose trail byte is 0x5C).
// Input: one control byte, then paths separated by line feeds; each two bits of the control
// byte put one of four starts before a path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fileops/drop_block.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "fuzz_drop_paths: %s: ", what);
  for (unsigned char c : path) std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsSep(char c) { return c == '\\' || c == '/'; }

// "\\.\x", "\\?\x", "//./x", "\\.", ...: the system's device and raw namespaces.
bool IsDeviceForm(const std::string& p) {
  return p.size() >= 3 && IsSep(p[0]) && IsSep(p[1]) && (p[2] == '.' || p[2] == '?') &&
         (p.size() == 3 || IsSep(p[3]));
}

// The end of the name that starts at i: the next separator that is a character of its own.
size_t NameEnd(const std::string& p, size_t i) {
  while (i < p.size() && !IsSep(p[i])) i += IsLead(static_cast<unsigned char>(p[i])) ? 2 : 1;
  return i < p.size() ? i : p.size();
}

bool IsFull(const std::string& p) {
  for (size_t i = 0; i < p.size(); i += IsLead(static_cast<unsigned char>(p[i])) ? 2 : 1)
    if (p[i] == '*' || p[i] == '?') return false;
  const unsigned char d = static_cast<unsigned char>(p.empty() ? 0 : p[0]);
  if (p.size() >= 3 && ((d | 0x20) >= 'a' && (d | 0x20) <= 'z') && p[1] == ':' && IsSep(p[2]))
    return true;
  if (p.size() < 2 || !IsSep(p[0]) || !IsSep(p[1]) || IsDeviceForm(p)) return false;
  const size_t serverEnd = NameEnd(p, 2);
  if (serverEnd == 2 || serverEnd >= p.size()) return false;
  const size_t shareEnd = NameEnd(p, serverEnd + 1);
  return shareEnd > serverEnd + 1;
}

const char* const kStarts[] = {"", "\\\\.\\", "\\\\?\\", "\\\\\x95\x5C\\"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 4096) return 0;
  const uint8_t control = data[0];
  std::vector<std::string> paths;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t at = 0;
  while (at <= text.size() && paths.size() < 4) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string path = kStarts[(control >> (2 * paths.size())) & 3] + text.substr(at, end - at);
    // A NUL would end the path early: the block holds what comes before it.
    path = path.substr(0, path.find('\0'));
    if (!path.empty()) paths.push_back(path);
    at = end + 1;
  }
  if (paths.empty()) return 0;
  const std::string list = fileops::JoinDropPaths(paths);
  std::vector<uint8_t> block(fileops::DropBlockSize(list));
  fileops::WriteDropBlock(block.data(), block.size(), list, 1, 2, false);
  fileops::DropBlock out;
  const fileops::DropBlockError e = fileops::ReadDropBlock(block.data(), block.size(), out);
  bool anyDevice = false;
  for (const std::string& p : paths) anyDevice = anyDevice || IsDeviceForm(p);
  if (e != fileops::DropBlockError::kNone) {
    if (out.Count() != 0) Fail("a refused block kept paths", paths[0]);
    return 0;
  }
  if (anyDevice) Fail("a block with a device path was read", paths[0]);
  if (out.ansi != paths) Fail("the paths read are not those written", paths[0]);
  for (const std::string& p : out.ansi) {
    if (!IsFull(p)) Fail("an accepted path is not a full path", p);
    if (p.size() > fileops::kMaxDroppedPath) Fail("an accepted path is too long", p);
  }
  return 0;
}
