// The INI text engine behind the posix profile functions and the profile snapshot: parses CP932
// byte text the way the profile functions read it, answers look-ups, and computes edited file
// contents that keep every untouched byte of the original.
//
// Reading rules:
// - a line ends in CR LF, LF or CR; 0x09-0x0D, 0x20 and 0x1A are trimmed at both ends;
// - "[" ... last "]" (a single-byte "]", never a trail byte) is a section header, its name
//   trimmed; a line starting with "[" without "]" is an ordinary line;
// - an ordinary line with "=" is a key, split at the first "=", blanks around it dropped;
//   lines without "=" are no keys; lines before the first header belong to no section;
// - names compare without regard to the case of the ASCII letters; double-byte characters
//   (full-width letters included) compare as they are, and a trail byte is never taken for a
//   letter; the first matching section and, in it, the first matching key win;
// - a name or value ends at its first NUL byte, as a C string would.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace os::ini {

// Bytes trimmed from both ends of lines, names and values.
inline bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A; }
// Trims IsBlank bytes from both ends.
std::string_view Trim(std::string_view s);
// The name folded for case-insensitive comparison and hashing: two names are equal without
// regard to case exactly when their folded forms are equal byte for byte.
std::string Fold(std::string_view name);
// A value as GetPrivateProfileString returns it: one surrounding pair of matching double or
// single quotes removed.
std::string_view Unquote(std::string_view value);

class Document {
 public:
  // Parses text. withIndex builds hash indexes, worth it when the document answers many
  // look-ups. Text of 4 GiB or more is treated as empty.
  explicit Document(std::string text, bool withIndex = false);

  const std::string& Text() const { return text_; }

  // The raw (still quoted) value of the first key named key in the first section named
  // section; false when there is none. Both names are trimmed before the comparison.
  bool Find(std::string_view section, std::string_view key, std::string_view* value) const;
  // True when a section of that (trimmed) name exists.
  bool HasSection(std::string_view section) const;
  // Names of all section headers in file order (duplicates included, empty names left out).
  void SectionNames(std::vector<std::string_view>* out) const;
  // Key names of the first section named section (lines without "=", comments starting with
  // ";" and empty names left out). False when the section does not exist.
  bool KeyNames(std::string_view section, std::vector<std::string_view>* out) const;

  // Edits; each returns false when the text would not change, else stores the new text.
  // Sets key to value in the first section named section: the line of an existing key is
  // rewritten as name=value, a new key goes after the last line of its section, a new section
  // at the end of the text. Names and value are written as given.
  bool SetValue(std::string_view section, std::string_view key, std::string_view value,
                std::string* out) const;
  // Removes the line of the first key named key in the first section named section.
  bool DeleteKey(std::string_view section, std::string_view key, std::string* out) const;
  // Removes the first section named section: its header and every line up to the next header.
  bool DeleteSection(std::string_view section, std::string* out) const;
  // Replaces the lines of the first section named section (its keys, and the comments and other
  // lines between them) by lines, each written as given and ended by CR LF; the header and the
  // rest of the text stay. A section that does not exist is added at the end (not for an empty
  // list of lines).
  bool ReplaceSection(std::string_view section, const std::vector<std::string_view>& lines,
                      std::string* out) const;

 private:
  enum class Kind : uint8_t { kHeader, kKey, kOther };
  // Offsets into text_. Name and value spans are trimmed but not yet cut at a NUL byte.
  struct Line {
    uint32_t start;    // first byte of the line
    uint32_t content;  // first non-blank byte
    uint32_t stop;     // one past the last non-blank byte
    uint32_t end;      // one past the last byte before the line terminator
    uint32_t next;     // first byte of the following line
    uint32_t nameOff, nameLen;
    uint32_t valueOff, valueLen;
    Kind kind;
  };
  struct Section {
    uint32_t header;  // index of the header line in lines_
    uint32_t end;     // index one past the last line of the section
  };

  void Parse();
  void BuildIndex();
  std::string_view RawName(const Line& l) const { return {text_.data() + l.nameOff, l.nameLen}; }
  std::string_view RawValue(const Line& l) const {
    return {text_.data() + l.valueOff, l.valueLen};
  }
  std::string_view Name(const Line& l) const;
  std::string_view Value(const Line& l) const;
  std::string_view SectionName(const Section& s) const { return Name(lines_[s.header]); }
  // The text with a new section at its end: its header, then body (whole lines).
  std::string WithNewSection(std::string_view section, std::string_view body) const;
  // Index of the first section named name (trimmed by the caller), or -1.
  int64_t FindSection(std::string_view name) const;
  // Index in lines_ of the first key named key (trimmed) in section s, or -1.
  int64_t FindKey(int64_t s, std::string_view key) const;

  std::string text_;
  std::vector<Line> lines_;  // non-blank lines only
  std::vector<Section> sections_;
  bool indexed_ = false;
  std::unordered_map<std::string, uint32_t> sectionIndex_;  // folded name -> first section
  std::unordered_map<std::string, uint32_t> keyIndex_;      // folded key -> line, first sections
};

}  // namespace os::ini
