// The directory a program started through a link file or a shortcut begins in.
#pragma once
#include <string>

#include "exec/association_lookup.h"

namespace exec {

// The working directory that the link file ("Current") or the shortcut fileName names, when it
// is an existing directory. Empty for a plain file, when none is named, when the one named is
// longer than a path (it is never cut to one), or when it cannot be entered any more: the program then starts in the table's directory rather than in
// whichever directory happens to be current. A name without drive or directory is taken in
// tableDirectory.
std::string OwnWorkingDirectory(LaunchSource source, const std::string& tableDirectory,
                                const char* fileName);

}  // namespace exec
