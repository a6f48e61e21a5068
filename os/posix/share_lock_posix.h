// Share modes (CreateFileA's dwShareMode) enforced between every opener of a file, in this
// process and in others, with open-file-description locks (F_OFD_SETLK) on marker bytes far
// beyond any data:
//   - each open holds a shared lock on "access R/W" for each access it has and on "deny R/W/D"
//     for each kind of access it does not share;
//   - an open is refused with ERROR_SHARING_VIOLATION when another opener denies an access it
//     asks for, or has an access it does not share.
// An open sets its own locks first and then looks for conflicts, so two simultaneous openers
// that conflict may both be refused, but never both admitted.
// Deleting or renaming needs DELETE access: refused while an opener does not share delete.
// File systems without OFD locks are not checked.
#pragma once
#include <cstdint>
#include <string>

namespace os::posix {

// Reserves the share state of an open file descriptor (opened for reading). Returns 0, or
// kErrSharingViolation after dropping the reservation.
uint32_t AcquireShare(int fd, uint32_t access, uint32_t share);
// True when some opener of hostPath does not share delete access.
bool DeleteDenied(const std::string& hostPath);

}  // namespace os::posix
