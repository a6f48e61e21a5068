// One section of an INI text the program reads whole instead of asking the profile functions
// key by key (a key-binding file may hold any number of keys, and each profile call would read
// the section from its start). Read with the profile functions' rules:
// - lines end in CR LF, LF or CR; bytes 0x09-0x0D, 0x20 and 0x1A are trimmed at both ends;
// - "[" ... last single-byte "]" is a section header; "=" splits a key line at its first "=";
// - names compare without regard to the case of ASCII letters (never a trail byte); the first
//   section of the name and, in it, the first key of a name win;
// - a value loses one surrounding pair of matching double or single quotes and ends at a NUL.
// A UTF-8 byte-order mark at the start of the text is skipped.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace table {

class ProfileSection {
 public:
  // Reads section from text; text must outlive the object.
  ProfileSection(std::string_view text, std::string_view section);

  bool found() const { return found_; }
  // The value of key, or nullopt when the section has no such key.
  std::optional<std::string_view> Value(std::string_view key) const;
  std::size_t size() const { return values_.size(); }

 private:
  bool found_ = false;
  std::unordered_map<std::string, std::string_view> values_;  // folded name -> value
};

// Names folded for comparison: ASCII letters to lower case, double-byte characters as they are.
std::string FoldProfileName(std::string_view name);

}  // namespace table
