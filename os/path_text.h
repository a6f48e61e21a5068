// Path texts in code page 932. Every search for "\", "/", ":" or "." here is double-byte aware:
// a trail byte can be 0x5C ("\") as in 表, ソ and 能.
#pragma once
#include <string>

namespace os {

// The table's path with every "/" turned into "\" and a "\" appended, unless the last character
// already is "/", ":" or "\" (and not the trail byte of a double-byte character).
std::string DirectoryString(const std::string& path);

// True when the path names a drive or a directory (holds ":", "\" or "/").
bool HasDriveOrDirectory(const char* path);

// The file name and extension: the text after the last "\", "/" or ":".
const char* FileNamePart(const char* path);

// True when name is longer than three characters and its last four are suffix (".LFI",
// ".LNK", ...) in any letter case; the period must start a character.
bool HasSuffixNoCase(const char* name, const char* suffix4);

// A path without drive or directory taken in the process's current directory; other paths as
// they are.
std::string InCurrentDirectory(const char* path);

}  // namespace os
