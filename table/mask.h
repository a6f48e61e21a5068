// The display mask: wildcard patterns separated by spaces, handed to the directory search.
#pragma once
#include <string>
#include <vector>

namespace table {

constexpr const char* kDefaultMask = "*.*";

// Splits text at spaces; runs of spaces count as one separator, empty items are dropped.
std::vector<std::string> SplitAtSpaces(const std::string& text);

// The patterns the rescan searches, in order. A mask without any pattern (empty or blanks
// only) lists as "*.*" does, rather than showing an empty directory.
std::vector<std::string> MaskPatterns(const std::string& mask);

}  // namespace table
