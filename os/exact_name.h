// Names that came from a listing, not from the user's typing, never reach a call that expands
// "*" or "?": a listed name may hold a "?" standing for a character the code page has no form
// for, and such a call would take it for a pattern and act on every name it matches. This is
// the one place that decides it; the shell delete of both backends refuses such names too.
//
// It is also the one place that decides which listed names lead back to their entry when they
// are written into a path (NameLeadsBack); both backends flag the others as they flag a
// look-alike (FindData::unmappable), and every command then reaches such an entry by its 8.3
// alias (AddressName) or not at all.
#pragma once
#include <string_view>

#include "os/types.h"

namespace os {

// True when path holds "*" or "?". (A CP932 trail byte is never below 0x40, so a byte scan
// cannot mistake part of a double-byte character for either.)
bool HasWildcards(const char* path);

// Whether name, as the last component of a path, names a device and not a file: CON, PRN, AUX,
// NUL, COM1-COM9 or LPT1-LPT9 in any case, alone or before an extension, with or without
// blanks or dots after it ("con", "NUL.txt", "aux .log", "lpt1...", "Com1..txt" are devices;
// "con0", "console" are not).
bool IsDosDeviceName(std::string_view name);

// Whether a listed name, written into a path, reaches the very entry it was listed for. Other
// systems can make names that the path calls rewrite or refuse: the dots and blanks at the end
// of a name are dropped ("report." reaches "report", "a " reaches "a"), a name of dots only
// stands for the directory or its parent, a device name reaches the device, and a control
// character (a line break, a tab) or one of \ / : * ? " < > | makes the path invalid or means
// something else. "." and ".." themselves lead back (they are the directory's own entries).
bool NameLeadsBack(const char* name);

// The name by which an entry is reached: its listed name, or for a name flagged unmappable
// (a look-alike, or a name that does not lead back) its 8.3 alias when that alias leads back
// itself; null when there is none, and the caller must leave the entry alone.
const char* AddressName(const char* name, const char* alias, bool unmappable);
inline const char* AddressName(const FindData& fd) {
  return AddressName(fd.name, fd.alternateName, fd.unmappable);
}

// The search record of the one entry path names (FindFirstFileA used as a look-up, not as a
// search): false with kErrInvalidName for a path holding "*" or "?", else false with the
// search's error when nothing is there.
bool FindExact(const char* path, FindData& out);

}  // namespace os
