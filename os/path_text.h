// Path texts in code page 932. Every search for "\", "/", ":" or "." here is double-byte aware:
// a trail byte can be 0x5C ("\") as in 表, ソ and 能.
#pragma once
#include <cstddef>
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

// Whether text fits a buffer of bufferSize bytes with its terminator. A text that does not fit
// is refused by its callers, never cut: a cut path names another file.
bool FitsBuffer(const std::string& text, std::size_t bufferSize);

// The text a call wrote into a buffer of size bytes, when it is whole and at most maxBytes
// long: false when it is longer, when it reaches the last two bytes of the buffer (the call
// may have cut its answer there, or one byte short of it before a double-byte character) or
// when the buffer holds no terminator. A buffer of maxBytes + 3 bytes tells every text of
// maxBytes or fewer from a longer one.
bool TakeWholeText(const char* buffer, std::size_t size, std::size_t maxBytes, std::string& out);

}  // namespace os
