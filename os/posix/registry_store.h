// The registry tree of one root (HKEY_CURRENT_USER or HKEY_CLASSES_ROOT) and its text form.
// Key names compare without regard to case and keep the case they were created with; each key
// may hold a default value (REG_SZ). Subkeys are listed in case-insensitive name order.
//
// File form, one record per line, keys depth first:
//   SORMREG 1
//   K <depth> <name>     a key, depth 1 for the children of the root
//   V <value>            the default value of the key above
// Bytes below 0x20, 0x7F and "%" are written as %HH. A reader skips what it does not
// understand, so a damaged file loses records but never crashes the program.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace os::posix {

struct RegNode {
  std::string name;
  bool hasValue = false;
  std::string value;
  std::map<std::string, RegNode> children;  // by OrderKey(name)
};

// The case-folded key a name is stored and ordered under.
std::string OrderKey(std::string_view name);

// Splits "a\b\\c\" into {"a","b","c"} (CP932 aware; empty components dropped).
std::vector<std::string> SplitKeyPath(std::string_view path);

// The node at path below root, or null.
RegNode* FindNode(RegNode& root, const std::vector<std::string>& path);
// The node at path, created (with the names as given) where missing.
RegNode& CreateNode(RegNode& root, const std::vector<std::string>& path);

std::string SerializeTree(const RegNode& root);
RegNode ParseTree(std::string_view text);

}  // namespace os::posix
