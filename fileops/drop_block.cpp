#include "fileops/drop_block.h"

#include <cstring>
#include <string_view>

#include "os/exact_name.h"
#include "os/mbcs.h"

namespace fileops {
namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

DropBlockError ReadAnsiList(const uint8_t* p, size_t offset, size_t size, DropBlock& out) {
  while (offset < size) {
    const auto* start = reinterpret_cast<const char*>(p + offset);
    const void* nul = std::memchr(start, 0, size - offset);
    if (!nul) return DropBlockError::kUnterminated;
    const size_t length = static_cast<const char*>(nul) - start;
    if (length == 0) return DropBlockError::kNone;  // the list's closing NUL
    if (length > kMaxDroppedPath) return DropBlockError::kPathTooLong;
    std::string path(start, length);
    if (!IsFullDroppedPath(path)) return DropBlockError::kNotFullPath;
    out.ansi.push_back(std::move(path));
    offset += length + 1;
  }
  return DropBlockError::kUnterminated;
}

DropBlockError ReadWideList(const uint8_t* p, size_t offset, size_t size, DropBlock& out) {
  std::u16string path;
  while (offset + 2 <= size) {
    const char16_t unit = static_cast<char16_t>(p[offset] | p[offset + 1] << 8);
    offset += 2;
    if (unit != 0) {
      if (path.size() == kMaxDroppedPath) return DropBlockError::kPathTooLong;
      path.push_back(unit);
      continue;
    }
    if (path.empty()) return DropBlockError::kNone;
    out.widePaths.push_back(std::move(path));
    path.clear();
  }
  return DropBlockError::kUnterminated;
}

}  // namespace

bool IsFullDroppedPath(const std::string& path) {
  if (os::HasWildcards(path.c_str())) return false;
  if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\')
    return true;
  // "\\server\share\...": a server name and a share name, each not empty. The separator is
  // searched for as a character (a server name may end in a double-byte character whose trail
  // byte is 0x5C). "\\.\" and "\\?\" name devices and raw paths, never a file of a share.
  // The system takes "/" for a separator as well: "\\./pipe" is a device too.
  if (path.size() < 5 || path[0] != '\\' || path[1] != '\\') return false;
  const char* server = path.c_str() + 2;
  const char* serverEnd = server;
  while (*serverEnd && !IsSeparator(*serverEnd)) serverEnd = mbcs::Next(serverEnd);
  if (!*serverEnd || serverEnd == server || serverEnd[1] == '\0' || IsSeparator(serverEnd[1]))
    return false;
  const std::string_view name(server, static_cast<size_t>(serverEnd - server));
  return name != "." && name != "?";
}

DropBlockError ReadDropBlock(const void* data, size_t size, DropBlock& out) {
  out = DropBlock{};
  if (!data || size < kDropHeaderSize) return DropBlockError::kTooSmall;
  if (size > kMaxDropBlockSize) return DropBlockError::kTooLarge;
  const auto* p = static_cast<const uint8_t*>(data);
  const uint32_t offset = ReadU32(p);
  if (offset < kDropHeaderSize || offset >= size) return DropBlockError::kBadOffset;
  out.x = static_cast<int32_t>(ReadU32(p + 4));
  out.y = static_cast<int32_t>(ReadU32(p + 8));
  out.nonClient = ReadU32(p + 12) != 0;
  out.wide = ReadU32(p + 16) != 0;
  const DropBlockError e =
      out.wide ? ReadWideList(p, offset, size, out) : ReadAnsiList(p, offset, size, out);
  if (e != DropBlockError::kNone) {
    out.ansi.clear();
    out.widePaths.clear();
  }
  return e;
}

std::string JoinDropPaths(const std::vector<std::string>& paths) {
  size_t size = 0;
  for (const std::string& p : paths) size += p.size() + 1;
  std::string list;
  list.reserve(size);
  for (const std::string& p : paths) {
    list += p;
    list.push_back('\0');
  }
  return list;
}

void WriteDropBlock(uint8_t* out, size_t size, const std::string& list, int32_t x, int32_t y,
                    bool nonClient) {
  if (size < DropBlockSize(list)) return;
  WriteU32(out, static_cast<uint32_t>(kDropHeaderSize));
  WriteU32(out + 4, static_cast<uint32_t>(x));
  WriteU32(out + 8, static_cast<uint32_t>(y));
  WriteU32(out + 12, nonClient ? 1 : 0);
  WriteU32(out + 16, 0);
  std::memcpy(out + kDropHeaderSize, list.data(), list.size());
  out[kDropHeaderSize + list.size()] = 0;
}

bool SetDropPoint(void* data, size_t size, int32_t x, int32_t y, bool nonClient) {
  if (!data || size < kDropHeaderSize) return false;
  auto* p = static_cast<uint8_t*>(data);
  WriteU32(p + 4, static_cast<uint32_t>(x));
  WriteU32(p + 8, static_cast<uint32_t>(y));
  WriteU32(p + 12, nonClient ? 1 : 0);
  return true;
}

DropVerdict JudgeReceivedDrop(const ReceivedDropFacts& facts) {
  if (!facts.live || facts.size == 0) return DropVerdict::kRefuse;
  switch (facts.made) {
    case MadeDropKind::kPosted:
      return DropVerdict::kTake;
    case MadeDropKind::kHeld:
      return DropVerdict::kRefuse;
    case MadeDropKind::kNotMade:
      break;
  }
  return facts.size >= kDropHeaderSize && facts.size <= kMaxDropBlockSize ? DropVerdict::kTake
                                                                          : DropVerdict::kRefuse;
}

const char* DropBlockMessage(DropBlockError e) {
  switch (e) {
    case DropBlockError::kNone:
      return "";
    case DropBlockError::kPathTooLong:
      return "ドロップされたファイルのパスが長すぎるため、ファイルは操作しませんでした";
    case DropBlockError::kNotFullPath:
      return "ドロップされたファイルの名前が正しくないため、ファイルは操作しませんでした";
    default:
      return "ドロップされたデータが壊れているため、ファイルは操作しませんでした";
  }
}

}  // namespace fileops
