// The DROPFILES block of the shell, read and written as plain bytes. A dropped block comes from
// another process and is read as hostile data: every offset and length is checked against the
// block's size, and a block that is not sound as a whole is refused before any file is
// touched.
//
// Layout (little-endian): offset of the file list (4 bytes), x and y of the drop point (4 each),
// the non-client flag (4), the wide-characters flag (4), then one NUL-terminated path per file
// and one more NUL. In a wide block the paths are UTF-16 and the terminators two bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fileops {

constexpr size_t kDropHeaderSize = 20;
// The longest path a dropped file may have, in bytes (ANSI) or UTF-16 units (wide), without
// its terminator: what a MAX_PATH buffer holds.
constexpr size_t kMaxDroppedPath = 259;
// A block larger than this is not read (no file list of a real drop comes near it).
constexpr size_t kMaxDropBlockSize = 64u << 20;

enum class DropBlockError {
  kNone,
  kTooSmall,       // shorter than the header
  kTooLarge,       // larger than kMaxDropBlockSize
  kBadOffset,      // the list starts inside the header or past the end
  kUnterminated,   // the list (or a path) runs to the end of the block without its NUL
  kPathTooLong,    // a path longer than kMaxDroppedPath
  kNotFullPath,    // a path without drive and directory, or with a wildcard
};

struct DropBlock {
  int32_t x = 0, y = 0;
  bool nonClient = false;
  bool wide = false;
  // The paths, in order: ansi for an ANSI block, wide for a wide one.
  std::vector<std::string> ansi;
  std::vector<std::u16string> widePaths;
  size_t Count() const { return wide ? widePaths.size() : ansi.size(); }
};

// Reads a block of size bytes. On any error out holds no path.
DropBlockError ReadDropBlock(const void* data, size_t size, DropBlock& out);

// Whether a dropped path names one file by a full path: "X:\..." or "\\server\share\...", and
// holds no "*" or "?" (which a later search would expand). For a wide path the caller checks
// the converted text.
bool IsFullDroppedPath(const std::string& path);

// A file list as a drop block holds it: each path followed by its NUL (the list's own final
// NUL is not part of it).
std::string JoinDropPaths(const std::vector<std::string>& paths);
// The size of the ANSI block for a list: the header, the list, the final NUL.
inline size_t DropBlockSize(const std::string& list) { return kDropHeaderSize + list.size() + 1; }
// Writes that block into out (at least DropBlockSize bytes; nothing is written when smaller).
void WriteDropBlock(uint8_t* out, size_t size, const std::string& list, int32_t x, int32_t y,
                    bool nonClient);

// Writes the drop point and the non-client flag into a block's header (the drop target does
// this before handing its block to the pane). False when the block is shorter than the header.
bool SetDropPoint(void* data, size_t size, int32_t x, int32_t y, bool nonClient);

// What a WM_DROPFILES handler may do with the handle it received, from what the system says
// of it. Only a live global memory block of this process is read (up to its own size) and
// freed: one this process made and posted to itself, or one it did not make whose size can be
// a drop block's (the shell's, made in this process for a drop onto a window that accepts
// files). A block this process made and still owns is its maker's to free; a value that is no
// live block of this process (another process's handle, a freed one, any number) is neither
// read nor freed.
enum class MadeDropKind { kNotMade, kHeld, kPosted };
struct ReceivedDropFacts {
  MadeDropKind made = MadeDropKind::kNotMade;
  bool live = false;  // a global memory handle of this process (GlobalSize, GlobalHandle)
  uint64_t size = 0;  // GlobalSize
};
enum class DropVerdict { kTake, kRefuse };  // kTake: read within size, then free
DropVerdict JudgeReceivedDrop(const ReceivedDropFacts& facts);

// The user's message for a refused block.
const char* DropBlockMessage(DropBlockError e);

}  // namespace fileops
