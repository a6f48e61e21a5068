// Case-insensitive look-up of names in host directories, as path resolution needs it for every
// component that does not exist with its exact case (and so for every file created).
//
// Each directory looked up keeps an index of its names (folded name -> real name, and lazily
// folded 8.3 alias -> real name), valid while the directory's device, inode, modification and
// change times are those read before it was listed. Any change made outside this process (or by
// a call that does not report it) changes those times and the next look-up lists the directory
// again; a create made through the emulation is reported with NoteEntryCreated and added to the
// index in place, so that creating the n-th file of a directory does not list the n-1 others.
#pragma once
#include <string>

namespace os::posix {

// The real name of the entry of host directory dir ("" for "/") whose listed (CP932) name equals
// that of host name name without regard to case (the first in listing order; an entry whose
// listed name does not lead back to it never matches by name); failing that, when name could be
// an 8.3 alias, the first entry whose alias equals it. "" when nothing matches or dir cannot be listed.
std::string FindEntryNoCase(const std::string& dir, const std::string& name);

// Reports that this process just created entry name (its real name) in host directory dir.
void NoteEntryCreated(const std::string& dir, const std::string& name);

// Forgets every index (tests use it to compare with a fresh listing).
void ForgetDirectoryIndexes();

}  // namespace os::posix
