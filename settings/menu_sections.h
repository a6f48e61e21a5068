// The user's items of the Mask and Run menus: sections "Mask" and "Run" of the configuration
// file, title = value, shared by every window. Reading, the storage form of a value, the
// proposals of the register command and the rewrite of a whole section by the list editor.
//
// A section is shared: another window may add an item (register files in the run menu) while
// this window's editor is open. The editor therefore remembers the section as it loaded it
// (the base); on OK it takes the configuration lock, reads the section again and merges three
// ways (MergeSectionRewrite), then deletes and writes the section within that one hold.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace settings {

struct ProfileInfo {
  std::string title;
  std::string value;
  bool operator==(const ProfileInfo&) const = default;
};

inline constexpr const char* kMaskSection = "Mask";
inline constexpr const char* kRunSection = "Run";
inline constexpr int kFirstMaskCommand = 300;
inline constexpr int kLastMaskCommand = 339;
inline constexpr int kFirstRunCommand = 400;
inline constexpr int kLastRunCommand = 439;
inline constexpr int kMenuItemsMax = 40;     // items a menu shows
inline constexpr int kEditorItemsMax = 100;  // items the editor loads
inline constexpr std::size_t kRunTitleMax = 260;     // bytes of a registered title
inline constexpr std::size_t kRunCommandMax = 1024;  // bytes of a registered command
// The longest value a menu item takes (the entry dialog and the register command store no
// more; a run line of more cannot be composed anyway).
inline constexpr std::size_t kMenuValueMax = kRunCommandMax;
// The key list a menu reads: room for 40 titles of kRunTitleMax bytes and more.
inline constexpr uint32_t kMenuKeyListBytes = 16000;

// Every entry of a section with a non-empty value, in file order. Values are read whole (a
// 1,000-character command is not cut), keys as the profile functions list them.
// The editor's view (it loads 100 and carries the rest through its rewrite).
std::vector<ProfileInfo> ReadMenuSection(const char* section);

// What a menu shows: the first kMenuItemsMax entries in file order whose value is neither empty
// nor longer than kMenuValueMax bytes. Every read is bounded: the key list by kMenuKeyListBytes
// (a key the list cuts is dropped, never read as the shorter key it became), each value by
// kMenuValueMax + 3 bytes; a longer value is skipped like an empty one, never cut into a
// different command or mask. Keys are read only until the menu is full.
std::vector<ProfileInfo> ReadMenuItems(const char* section);

// A value as written: inside one more pair of double quotes when reading would otherwise strip
// something (a double quote anywhere, blanks or tabs at either end, single quotes around it).
std::string MenuValueForStorage(const std::string& value);

// Titles are keys of the profile file. Null when a title can be stored as it is; otherwise the
// message why not (empty, "=" in it, beginning with ";" or "[", blanks at either end).
const char* MenuTitleProblem(const std::string& title);

// Whether two titles name the same key (ASCII letters without regard to case, never a trail
// byte).
bool SameTitle(const std::string& a, const std::string& b);

// What the section becomes when the editor saves `edited`, having loaded `base`, while the
// file now holds `current`:
// - an entry the editor left as loaded follows `current` (changed there: the new value; gone
//   there: dropped);
// - an entry the editor added or changed is written as the editor has it;
// - an entry of `current` whose title `base` did not have (added by another window meanwhile)
//   is kept, after the editor's entries;
// - titles that name one key are written once, at the first place, with the last value (what
//   the profile file would make of them).
std::vector<ProfileInfo> MergeSectionRewrite(const std::vector<ProfileInfo>& base,
                                             const std::vector<ProfileInfo>& edited,
                                             const std::vector<ProfileInfo>& current);

enum class SectionWrite { kWritten, kLockError, kWriteError };

// The editor's OK: under the configuration lock, reads the section, merges (above), deletes the
// section and writes the result in order. `edited` must hold every entry the editor did not
// show as well (those beyond the first 100), so that none is lost.
SectionWrite RewriteMenuSection(const char* section, const std::vector<ProfileInfo>& base,
                                const std::vector<ProfileInfo>& edited);
// One entry written under the configuration lock (the register command).
SectionWrite AddMenuEntry(const char* section, const ProfileInfo& entry);

// The register command's proposal for a file: "&" and its display name; the directory (a
// backslash added when it has none at the end) and the file name, the whole inside double
// quotes when either holds a blank.
ProfileInfo RunMenuProposal(const std::string& directory, const std::string& displayName,
                            const std::string& fileName);

// The ids of the first kMenuItemsMax entries: first + index.
inline int MenuCommandOf(int first, int index) { return first + index; }

}  // namespace settings
