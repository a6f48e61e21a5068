// The checks the copy and move commands make on a destination before and while they hand
// entries to the engine, as pure functions of the texts.
#pragma once
#include <cstdint>
#include <string>

#include "fileops/engine_messages.h"

namespace fileops {

enum class DestinationCheck {
  kOk,
  kEmpty,         // nothing typed: the command ends without a message
  kLeadingColon,  // ":..." names no drive or directory: refused with a message
  kTooLong,       // the resolved destination does not fit a path
};

// The typed destination, before it is resolved against the table.
DestinationCheck CheckTypedDestination(const char* typed);
// The resolved destination: kTooLong from 260 characters on.
DestinationCheck CheckResolvedDestination(const std::string& resolved);

// The message a refused destination shows for a copy or a move (none for kEmpty).
CommandMessage DestinationMessage(DestinationCheck check, bool move);

// A bare drive ("A:") is used as it is; anything else is created as a directory first.
bool DestinationNeedsDirectory(const std::string& resolved);
// Whether a failed creation of the destination directory stops the command (string 14): not
// when it exists already or access to make it was denied.
bool DirectoryCreationStops(uint32_t win32Error);

// The path of one entry in the destination directory (which ends in a separator); false when
// it does not fit a path, and then the entry is reported (CopyNameTooLong / MoveNameTooLong)
// and skipped.
bool EntryDestination(const std::string& directory, const char* name, std::string& out);

// A move's source for an entry: the table directory (ending in a separator) and the name.
std::string EntrySource(const std::string& tableDirectory, const char* name);

}  // namespace fileops
