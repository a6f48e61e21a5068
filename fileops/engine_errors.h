// The engine's error codes for failed copy steps (LastCopyError), how Win32 errors map onto
// them, and their message texts.
//
// The codes are the C runtime's errno numbers where it has one; "invalid access code" has no
// errno and gets a number of its own. Mapping from the Win32 error of the failing call:
//   ENOENT  FILE_NOT_FOUND, PATH_NOT_FOUND, INVALID_DRIVE, NO_MORE_FILES, BAD_NETPATH,
//           BAD_NET_NAME, INVALID_NAME, BAD_PATHNAME, FILENAME_EXCED_RANGE
//   EACCES  ACCESS_DENIED, CURRENT_DIRECTORY, SHARING_VIOLATION, LOCK_VIOLATION and the other
//           errors 22-36 not named here, NETWORK_ACCESS_DENIED, CANNOT_MAKE, FAIL_I24,
//           DRIVE_LOCKED, SEEK_ON_DEVICE, NOT_LOCKED, LOCK_FAILED
//   EROFS   WRITE_PROTECT
//   ENODEV  BAD_UNIT, NOT_READY, DEV_NOT_EXIST
//   EINVACC INVALID_ACCESS
//   EMFILE  TOO_MANY_OPEN_FILES
//   EBADF   INVALID_HANDLE, INVALID_TARGET_HANDLE, DIRECT_ACCESS_HANDLE
//   ENOMEM  ARENA_TRASHED, NOT_ENOUGH_MEMORY, INVALID_BLOCK, OUTOFMEMORY, NOT_ENOUGH_QUOTA
//   ENOSPC  DISK_FULL, HANDLE_DISK_FULL
//   EPIPE   BROKEN_PIPE, NO_DATA
//   EIO     CRC, READ_FAULT, WRITE_FAULT, GEN_FAILURE, NETNAME_DELETED, FILE_INVALID,
//           IO_DEVICE (a device that failed or went away)
//   EEXIST  FILE_EXISTS, ALREADY_EXISTS
//   EXDEV   NOT_SAME_DEVICE
//   EINVAL  everything else
#pragma once
#include <cstdint>

namespace fileops {

enum CopyErrorCode : int {
  kErrnoNone = 0,
  kErrnoNoEnt = 2,
  kErrnoIo = 5,
  kErrnoBadF = 9,
  kErrnoNoMem = 12,
  kErrnoAcces = 13,
  kErrnoExist = 17,
  kErrnoXDev = 18,
  kErrnoNoDev = 19,
  kErrnoInval = 22,
  kErrnoMFile = 24,
  kErrnoNoSpc = 28,
  kErrnoRoFs = 30,
  kErrnoPipe = 32,
  kErrnoInvAcc = 100,  // invalid access code
  kErrnoLinkLeft = 101,  // a directory link was not copied or moved (no Win32 error maps here)
  kErrnoWrittenTwice = 102,  // the command already wrote this destination from another source
  kErrnoDestinationLink = 103,  // a destination directory is a link: nothing went through it
  kErrnoFileLink = 104,  // a link to a file was not deleted or moved (RefusedLinkPath names it)
};

// The error code for the Win32 error of a failing call (table above).
int CopyErrorFromWin32(uint32_t win32Error);

// Kinds of Win32 errors the engine decides by: refused (access denied, sharing or lock
// violation: what an open reports as EACCES), not found (file or path), already there.
bool IsAccessError(uint32_t win32Error);
bool IsNotFoundError(uint32_t win32Error);
bool IsExistsError(uint32_t win32Error);

// The message for an error code; codes outside the table give the general text.
const char* ErrorCodeMessage(int code);

}  // namespace fileops
