// Names that came from a listing, not from the user's typing, never reach a call that expands
// "*" or "?": a listed name may hold a "?" standing for a character the code page has no form
// for, and such a call would take it for a pattern and act on every name it matches. This is
// the one place that decides it; the shell delete of both backends refuses such names too.
#pragma once
#include "os/types.h"

namespace os {

// True when path holds "*" or "?". (A CP932 trail byte is never below 0x40, so a byte scan
// cannot mistake part of a double-byte character for either.)
bool HasWildcards(const char* path);

// The name by which an entry is reached: its listed name, or for a name flagged unmappable
// (a look-alike that does not lead back to the entry) its 8.3 alias; null when such an entry
// has no alias, and the caller must leave it alone.
const char* AddressName(const char* name, const char* alias, bool unmappable);
inline const char* AddressName(const FindData& fd) {
  return AddressName(fd.name, fd.alternateName, fd.unmappable);
}

// The search record of the one entry path names (FindFirstFileA used as a look-up, not as a
// search): false with kErrInvalidName for a path holding "*" or "?", else false with the
// search's error when nothing is there.
bool FindExact(const char* path, FindData& out);

}  // namespace os
