// FindFirstFileA's name matching. The mask typed by the caller is first rewritten the way the
// system does it, then matched against each name (and, when the name fails, its 8.3 alias):
//   - trailing dots and spaces are dropped; a mask that ended in "." turns a final "*" into
//     DOS_STAR "<" (any characters, but not across the last dot), so "*." lists names
//     without an extension;
//   - "." before "*" or "?" becomes DOS_DOT '"' (a dot, or the end of the name), so "*.*"
//     also matches names without a dot;
//   - "?" becomes DOS_QM ">" (one character, or nothing at a dot or at the end).
// Matching ignores case and works on CP932 characters, never on single bytes of one.
#pragma once
#include <string>
#include <string_view>

#include "os/posix/cp932_units.h"

namespace os::posix {

// True when the mask holds any of * ? < > (a search for many names).
bool HasWildcards(std::string_view mask);

// A mask prepared once for matching many names.
class WildcardMask {
 public:
  // typed: the last path component as the caller wrote it.
  explicit WildcardMask(std::string_view typed);
  // True when name matches (".." is matched as ".").
  bool Matches(std::string_view name) const;
  // The rewritten mask, for tests and diagnostics (units as CP932 text).
  std::string Rewritten() const { return FromUnits(mask_); }

 private:
  Units mask_;
  bool matchesAll_ = false;  // "*" then only what may match nothing: every name matches
};

}  // namespace os::posix
