#include "os/exe_type.h"

#include "os/path_text.h"

namespace os {
namespace {

// "MZ" as the shell answers it (its bytes swapped against the header's signature, as Wine's
// shell answers); "PE" and "NE" as the header's signatures.
constexpr uint32_t kDosMagic = 0x5A4D, kMz = 0x4D5A, kPe = 0x4550, kNe = 0x454E;
constexpr std::size_t kNewHeaderOffset = 0x3C;  // e_lfanew
constexpr uint16_t kWindowSubsystem = 2;        // IMAGE_SUBSYSTEM_WINDOWS_GUI

bool Read16(std::string_view b, std::size_t at, uint32_t& v) {
  if (at > b.size() || b.size() - at < 2) return false;
  v = static_cast<unsigned char>(b[at]) |
      static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
  return true;
}

bool Read32(std::string_view b, std::size_t at, uint32_t& v) {
  uint32_t lo = 0, hi = 0;
  if (!Read16(b, at, lo) || !Read16(b, at + 2, hi)) return false;
  v = lo | hi << 16;
  return true;
}

}  // namespace

uint32_t ExeTypeOf(const char* path, std::string_view head) {
  if (path && (HasSuffixNoCase(path, ".BAT") || HasSuffixNoCase(path, ".COM"))) return kMz;
  uint32_t magic = 0;
  if (!Read16(head, 0, magic) || magic != kDosMagic) return 0;
  uint32_t offset = 0, signature = 0;
  if (!Read32(head, kNewHeaderOffset, offset) || !Read16(head, offset, signature)) return kMz;
  if (signature == kNe) {
    // The expected Windows version: minor in byte 0x3E, major in byte 0x3F of the NE header.
    uint32_t version = 0;
    return Read16(head, offset + 0x3E, version) ? (kNe | version << 16) : kNe;
  }
  uint32_t high = 0;
  if (signature != kPe || !Read16(head, offset + 2, high) || high != 0) return kMz;
  // The optional header follows the 4-byte signature and the 20-byte file header.
  const std::size_t optional = static_cast<std::size_t>(offset) + 24;
  uint32_t subsystem = 0, major = 0, minor = 0;
  if (!Read16(head, optional + 68, subsystem) || !Read16(head, optional + 48, major) ||
      !Read16(head, optional + 50, minor))
    return 0;
  if (subsystem != kWindowSubsystem) return kPe;
  return kPe | ((major & 0xFF) << 8 | (minor & 0xFF)) << 16;
}

}  // namespace os
