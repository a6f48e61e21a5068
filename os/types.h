// Basic types and constants shared by the portable core and both OS backends.
// Values are the Win32 ones so that the win32 backend passes them straight through.
#pragma once
#include <cstddef>
#include <cstdint>

namespace os {

// MAX_PATH: a path holds at most 260 bytes including its terminator.
constexpr std::size_t kMaxPath = 260;

// DOS attribute bits as FindFirstFileA and GetFileAttributesA report them.
enum Attr : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  // A directory junction or symbolic link (a Unix symbolic link under Wine): its contents are
  // another directory's and are never walked into by a tree operation.
  kAttrReparsePoint = 0x400,
};
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// The Win32 error codes the program looks at.
enum Error : uint32_t {
  kErrSuccess = 0,
  kErrFileNotFound = 2,
  kErrPathNotFound = 3,
  kErrAccessDenied = 5,
  kErrInvalidHandle = 6,
  kErrNotEnoughMemory = 8,
  kErrNoMoreFiles = 18,
  kErrWriteProtect = 19,
  kErrNotReady = 21,
  kErrSharingViolation = 32,
  kErrLockViolation = 33,
  kErrHandleEof = 38,
  kErrFileExists = 80,
  kErrInvalidParameter = 87,
  kErrDiskFull = 112,
  kErrInsufficientBuffer = 122,
  kErrInvalidName = 123,
  kErrDirNotEmpty = 145,
  kErrAlreadyExists = 183,
  kErrFilenameExcedRange = 206,
  kErrMoreData = 234,
  kErrNoMoreItems = 259,
  kErrDirectory = 267,
  kErrCancelled = 1223,
};

// FILETIME as one number: 100-nanosecond intervals since 1601-01-01 UTC.
using FileTime = uint64_t;

// WIN32_FIND_DATAA, reduced to what the program uses.
//
// name is the entry's long name in code page 932. A long name with a character that code page
// 932 has no form for comes as the system's look-alike ("?" or a best-fit letter, "e" for an
// accented one) and is flagged unmappable: the name then does not lead back to this entry (it
// is no valid name, or it names a neighbour), and only alternateName, the 8.3 alias, does. A
// name the path calls rewrite or refuse ("report." for "report", a device name, a line break:
// os::NameLeadsBack) is flagged the same way.
struct FindData {
  uint32_t attributes = 0;
  FileTime creationTime = 0;
  FileTime lastAccessTime = 0;
  FileTime lastWriteTime = 0;
  uint64_t size = 0;
  char name[kMaxPath] = {};
  char alternateName[14] = {};
  bool unmappable = false;
};

}  // namespace os
