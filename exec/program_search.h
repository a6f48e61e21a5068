// Finding the program a command line names without a path, before the line is started.
//
// Starting a line from a table's folder makes that folder current, and process creation looks
// in the current directory before the system's folders: a `notepad.exe` planted in a
// downloaded folder would start instead of the system's. So a program named without a drive
// or directory is looked for here, in the program's own folder, the system folders and PATH
// (never the current directory), and the line starts the full path found.
#pragma once
#include <string>
#include <vector>

namespace exec {

// The folders to look in, in order: programDirectory, then each non-empty folder of the
// ";"-separated searchPath (quotes around a folder dropped). Folders already listed (compared
// without regard to case) come once.
std::vector<std::string> ProgramSearchDirectories(const std::string& programDirectory,
                                                  const std::string& searchPath);

// The line with its program named by a full path. A program that already names a drive or
// directory leaves the line as it is. A bare name is looked for in the folders (with ".exe"
// added when it has no extension, as process creation does) and replaced by the full path
// found, quoted where it holds a blank; the rest of the line is kept byte for byte. False when
// no such program exists in any of the folders, or the line would not fit maxLength.
bool ResolveLineProgram(std::string& line, const std::vector<std::string>& directories,
                        std::size_t maxLength);

// The file a line's program names when the line starts in directory: for a bare name the full
// path ResolveLineProgram finds in the folders; a name relative to the start directory
// ("bin\tool.exe", and "\tools\x.exe" from its drive's root) joined to directory; a full path
// as it is. A name that cannot be placed so (found in no folder, relative to another drive's
// current directory) comes back as written.
std::string ProgramPathIn(const std::string& program, const std::string& directory,
                          const std::vector<std::string>& folders);

// The program's own folder and the system's search path (os::Sys().ProgramSearchPath()).
std::vector<std::string> SystemProgramDirectories();

}  // namespace exec
