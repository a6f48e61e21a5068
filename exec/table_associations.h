// The association lists of a file table: read once, when first asked for, from the
// configuration file and WIN.INI; kept with the table (most-recently-used order and the
// extensions looked up in the registry survive between openings) and destroyed with it.
//
// The lists are not guarded themselves: code that runs beside the window's thread (the icon
// loader) holds t.lock() while it looks up, and the window's thread takes it too
// (AssociationsLock).
#pragma once
#include <mutex>
#include <string>

#include "exec/exec_link_info.h"
#include "table/sorm.h"

namespace exec {

// The table's three lists; loaded from the program's configuration file on first use.
Associations& TableAssociations(table::Sorm& t);
// The same, loaded from configFile on first use (tests and the benchmark).
Associations& TableAssociations(table::Sorm& t, const std::string& configFile);

// Forgets every record (and the registry answers kept with them) and reads the lists again
// from the file they were first read from: the associations changed in this or another window.
// The icons the table caches under a file name go too (ForgetIconsCachedByName): they may be
// those of a file's old association. The caller holds the table's lock.
void ReloadTableAssociations(table::Sorm& t);

// Holds the table's lock while the window's thread uses the lists.
using AssociationsLock = std::lock_guard<std::mutex>;

}  // namespace exec
