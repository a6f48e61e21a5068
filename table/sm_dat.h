// The record of one directory entry of a file table.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace table {

class Cache;  // a node of the icon cache; the cache owns it and counts its users

// EntryState bits.
enum EntryState : uint8_t {
  kSelected = 0x01,
  kBanded = 0x02,    // changed by the running rubber band
  kSeen = 0x04,      // found again by the running incremental rescan
  kAdded = 0x08,     // created by the running incremental rescan
  kOpenMark = 0x10,  // marked while the open command works through the selection
};

// LinkFlags bits.
enum LinkFlag : uint16_t {
  kIsLink = 0x01,
  kTargetIsDirectory = 0x02,
  kIsShortcut = 0x04,
};

// IconFlags bits.
enum IconFlag : uint8_t {
  kOwnsLarge = 0x01,  // the record destroys its large icon
  kOwnsSmall = 0x02,  // the record destroys its small icon
  kFromCache = 0x04,  // the icons belong to the cache node
};

// How a record gives back its icons: the window layer installs DestroyIcon and the icon cache
// its release of one reference. Unset hooks do nothing.
using DestroyIconFn = void (*)(void* icon);
using ReleaseCacheFn = void (*)(Cache* node);
void SetIconReleaseHooks(DestroyIconFn destroyIcon, ReleaseCacheFn releaseCache);
// Gives one icon back through the installed hook (nothing for null).
void DestroyIconHandle(void* icon);

// The texts and sort keys of a link file or shortcut entry.
struct LinkTexts {
  std::string displayName;  // title of a link file (at most 512 bytes), or the shortcut's name
  // The file the link leads to: the final target of a link file (at most 260 bytes) or the
  // shortcut's target path (at most 259). Never with arguments: commands take it as a path.
  std::string target;
  std::string arguments;    // a shortcut's arguments (at most 1,024 bytes); empty otherwise
  std::string displayKey;   // sort keys of the display name and of TargetLine()
  std::string targetKey;
  // The target as a command line: the path, then one blank and the arguments when there are
  // any (what the run dialog offers for a shortcut, and what the target order sorts by).
  std::string TargetLine() const { return arguments.empty() ? target : target + " " + arguments; }
};

struct SM_DAT {
  SM_DAT() = default;
  ~SM_DAT();
  SM_DAT(const SM_DAT&) = delete;
  SM_DAT& operator=(const SM_DAT&) = delete;

  uint32_t attributes = 0;  // as the directory search returns them
  uint16_t time = 0;        // last write, DOS packed, local time
  uint16_t date = 0;
  // Size in bytes. Kept in 64 bits so that files of 2 GiB and more sort, compare and show
  // their real size.
  int64_t size = 0;
  std::string name;  // file name without directory, at most 259 bytes
  // The 8.3 alias from the search record ("" when there is none), and whether the name does
  // not lead back to this entry: a look-alike, or a name the path calls rewrite
  // (os::FindData::unmappable). Commands reach the entry through AddressName(), never through
  // name.
  std::string alias;
  bool unmappable = false;
  uint8_t state = 0;
  void* largeIcon = nullptr;
  void* smallIcon = nullptr;
  uint16_t linkFlags = 0;
  std::unique_ptr<LinkTexts> link;  // present exactly when kIsLink is set
  uint8_t iconFlags = 0;
  Cache* cache = nullptr;  // holds the icons when kFromCache

  // Sort key of the name (os::System::SortKey), made once per entry when it is scanned and kept
  // by the table's key store; for an ordinary entry it is also the key of the display name and
  // of the target.
  std::string_view nameKey;
  // Place of the entry in name order among the table's entries (kUnranked until the next
  // sort places it), and of its extension among the distinct extensions. The six orders
  // compare these numbers instead of texts.
  static constexpr uint32_t kUnranked = 0xFFFFFFFFu;
  uint32_t nameRank = kUnranked;
  uint32_t extensionRank = 0;
  // Hash of the name with its single-byte letters folded (FoldedNameHash), made the first time
  // an incremental rescan looks the entry up.
  uint32_t nameHash = 0;
  bool hasNameHash = false;

  // The name commands use for the entry: name, or the alias for a name that does not lead
  // back; null when the entry cannot be reached by any name (os::AddressName).
  const char* AddressName() const;
  const char* DisplayName() const { return link ? link->displayName.c_str() : name.c_str(); }
  // The path a link leads to (arguments apart), else the name.
  const char* Target() const { return link ? link->target.c_str() : name.c_str(); }
  std::string_view DisplayKey() const { return link ? link->displayKey : nameKey; }
  std::string_view TargetKey() const { return link ? link->targetKey : nameKey; }
  bool IsDirectory() const { return (attributes & 0x10) != 0; }
  // A directory, or a link whose target is a directory: listed with the directories.
  bool ListsAsDirectory() const { return IsDirectory() || (linkFlags & kTargetIsDirectory); }
  bool IsSelected() const { return (state & kSelected) != 0; }
  // ".." (the name is exactly two periods).
  bool IsParentEntry() const { return name == ".."; }
};

}  // namespace table
