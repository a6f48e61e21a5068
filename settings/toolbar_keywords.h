// The toolbar's button list in the configuration file ("BarSettings", "ToolBar"): words separated
// by blanks. A word holding "/" adds a separator first; then every keyword found anywhere inside
// the word adds its button, in the fixed keyword order (so "FCOPYFOPEN" gives open, then copy).
// Unknown words add nothing.
#pragma once
#include <string>
#include <vector>

namespace settings {

struct ToolbarItem {
  enum Kind {
    kButton,       // a command button with the bitmap of its command number
    kSeparator,    // a gap of `size` pixels
    kDriveButton,  // the current-path button, which asks its enabled state only once
  };
  Kind kind;
  int command;  // 0 for a separator
  int size;     // separator width; 0 for buttons

  bool operator==(const ToolbarItem&) const = default;
};

constexpr int kToolbarSeparatorSize = 6;
// The value is read with a buffer of this many bytes: longer values are cut.
constexpr unsigned kToolbarValueBuffer = 1024;

// The keywords in the order in which a word is tested, with their commands.
struct ToolbarKeyword {
  const char* word;
  int command;
};
const std::vector<ToolbarKeyword>& ToolbarKeywords();

// The value's words, split at blanks and tabs.
std::vector<std::string> ToolbarWords(const char* value);
// Whether keyword occurs in word (a substring that starts on a character, never on the trail
// byte of a double-byte one).
bool WordHoldsKeyword(const std::string& word, const char* keyword);

std::vector<ToolbarItem> ParseToolbarKeywords(const char* value);
// Reads BarSettings/ToolBar (default empty) and parses it.
std::vector<ToolbarItem> ReadToolbarItems();

}  // namespace settings
