// Classifying a file for opening: which association (or none) starts it, and with which command.
#pragma once
#include <string>

#include "exec/exec_link_info.h"

namespace exec {

// How a file is started. A link file (.LFI) and a shortcut (.LNK) are classified by their
// target. 8 is never produced.
enum class LaunchClass : int {
  kNone = 0,
  kExecutable = 1,
  kByExtension = 2,
  kByName = 3,
  kByFullName = 4,
  kLinkByExtension = 5,
  kLinkByName = 6,
  kLinkByFullName = 7,
  kLinkExecutable = 9,
  kShortcutByExtension = 10,
  kShortcutByName = 11,
  kShortcutByFullName = 12,
  kShortcutExecutable = 13,
};

enum class LaunchSource { kPlainFile, kLinkFile, kShortcut };

LaunchSource SourceOf(LaunchClass c);

// The file a name stands for: itself, the final target of a chain of link files, or a
// shortcut's target with its arguments.
struct LaunchFile {
  LaunchSource source = LaunchSource::kPlainFile;
  std::string path;
  std::string arguments;  // a shortcut's arguments; empty otherwise
};

// A name without drive or directory is taken in directory (when that is not empty), never in
// the process's current directory.
LaunchFile ResolveLaunchFile(const std::string& directory, const char* fileName);

// The name without its extension and the extension from the last "." of the file name part
// (".profile" has an empty name). Double-byte aware.
struct FileNameParts {
  std::string name;
  std::string extension;
};
FileNameParts SplitFileName(const char* path);

// Which extensions the program starts itself: ".BAT", ".PIF", ".COM" (the record remembers
// that) and ".EXE" (no record is reported).
enum class ExecutableKind { kNotExecutable, kProgramWithRecord, kProgram };
ExecutableKind ExecutableKindOf(const char* extension);

struct AssociationMatch {
  LaunchClass launchClass = LaunchClass::kNone;
  std::string command;             // at most kMaxCommandLine bytes
  ExecLinkInfo* record = nullptr;  // stays owned by its list
  LaunchFile file;                 // what was classified
};

// Looks the file up by full name, then by name, then by extension (the registry is asked once
// per extension the lists do not hold; an extension it does not know is remembered with an
// empty command). A record found moves to the front of its list.
AssociationMatch LookupAssociation(Associations& lists, const std::string& directory,
                                   const char* fileName);

}  // namespace exec
