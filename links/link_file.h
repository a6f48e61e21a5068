// Reading the program's own link files (.LFI): INI text with one section "Link" holding the
// target as it was given ("Link"), the title shown instead of the file name ("Title") and the
// final target's drive and directory ("Current").
#pragma once
#include <string>

namespace links {

// A link file is recognised by its name alone: longer than three characters, ending in ".LFI"
// in any letter case.
bool IsLinkFileName(const char* path);

// A chain of link files is followed at most this many steps; a chain that loops back on itself
// ends there instead of running for ever.
constexpr int kMaxLinkChain = 32;

// A link file larger than this is not a link file the program made; it is read as empty
// instead of being parsed (a huge file would stall the listing).
constexpr unsigned kMaxLinkFileBytes = 64 * 1024;

// The longest path a link file's "Link" or "Current" holds.
constexpr unsigned kMaxLinkPathBytes = 259;

// 1 when path is a link file name: target receives its "Link" value (empty when the file is
// missing, unreadable or has no such key, and when the value is longer than
// kMaxLinkPathBytes: such a link leads nowhere rather than to a cut path). 0 otherwise, target untouched.
// A path without drive or directory is taken in the process's current directory.
int ReadLinkTarget(const char* path, std::string& target);

// Follows a chain: while target names a link file its own target is taken, at most
// kMaxLinkChain times. Returns the final target.
std::string FollowLinkChain(std::string target);

// 1 when the link file's "Title" is not empty (title receives it, at most 511 bytes); otherwise
// 0 with the link file's own name and extension in title. A name without drive or directory
// is taken in tableDirectory (a directory string ending in "\").
int ReadLinkTitle(const std::string& tableDirectory, const char* linkName, std::string& title);

// 1 when the link file's "Current" is not empty (directory receives it), else 0; -1, with
// directory empty, when it is longer than kMaxLinkPathBytes (refused, never cut).
int ReadLinkWorkingDirectory(const char* path, std::string& directory);

}  // namespace links
