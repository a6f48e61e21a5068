// Path texts of the file operations, double-byte aware: a CP932 trail byte may be 0x5C ("\"),
// so every look for "\", "/" or ":" steps over double-byte characters.
#pragma once
#include <string>

namespace fileops {

// The longest path a file operation builds: MAX_PATH bytes with the terminator.
constexpr std::size_t kMaxPathChars = 259;

// True when the path ends in "\", "/" or ":" that is a character of its own.
bool EndsWithSeparator(const std::string& path);
// The path with one "\" appended unless it already ends in a separator (see above).
std::string WithTrailingBackslash(const std::string& path);
// True when the path holds a ":" (a drive), and when its last character is one.
bool HasColon(const char* path);
bool EndsWithColon(const std::string& path);
// The position of the last "\" that is a character of its own; npos when there is none.
std::size_t LastBackslash(const std::string& path);
// The directory part with its separator ("C:\a\" of "C:\a\b.txt", "C:" of "C:b.txt"); empty
// for a bare name.
std::string DirectoryPart(const std::string& path);
// directory (ending in a separator) + name into out; false when it would not fit
// kMaxPathChars.
bool JoinPath(const std::string& directory, const char* name, std::string& out);
// "." or "..".
bool IsDotEntry(const char* name);

}  // namespace fileops
