#include "fileops/engine_destination.h"

#include "fileops/engine_path.h"
#include "os/types.h"

namespace fileops {

DestinationCheck CheckTypedDestination(const char* typed) {
  if (!typed || !*typed) return DestinationCheck::kEmpty;
  if (typed[0] == ':') return DestinationCheck::kLeadingColon;
  return DestinationCheck::kOk;
}

DestinationCheck CheckResolvedDestination(const std::string& resolved) {
  return resolved.size() > kMaxPathChars ? DestinationCheck::kTooLong : DestinationCheck::kOk;
}

CommandMessage DestinationMessage(DestinationCheck check, bool move) {
  switch (check) {
    case DestinationCheck::kLeadingColon:
      return move ? kMsgMoveDestinationInvalid : kMsgCopyDestinationInvalid;
    case DestinationCheck::kTooLong: return move ? kMsgMoveNameTooLong : kMsgCopyNameTooLong;
    default: return CommandMessage{};
  }
}

bool DestinationNeedsDirectory(const std::string& resolved) { return !EndsWithColon(resolved); }

bool DirectoryCreationStops(uint32_t win32Error) {
  return win32Error != os::kErrAlreadyExists && win32Error != os::kErrFileExists &&
         win32Error != os::kErrAccessDenied;
}

bool EntryDestination(const std::string& directory, const char* name, std::string& out) {
  return JoinPath(directory, name, out);
}

std::string EntrySource(const std::string& tableDirectory, const char* name) {
  return WithTrailingBackslash(tableDirectory) + name;
}

}  // namespace fileops
