// Files, directories and directory search with Win32 semantics.
// Every failing call returns false / null / kInvalidAttributes and sets os::LastError().
#pragma once
#include <cstdint>
#include <memory>

#include "os/types.h"

namespace os {

// An open directory search (FindFirstFileA ... FindClose). Closing is the destructor's job.
class Finder {
 public:
  virtual ~Finder() = default;
  // FindNextFileA: false with kErrNoMoreFiles after the last entry.
  virtual bool Next(FindData& out) = 0;
};

// An open file handle (CreateFileA ... CloseHandle).
class File {
 public:
  virtual ~File() = default;
  virtual bool Read(void* buf, uint32_t size, uint32_t* done) = 0;         // ReadFile
  virtual bool Write(const void* buf, uint32_t size, uint32_t* done) = 0;  // WriteFile
  virtual bool Size(uint64_t* size) = 0;                                   // GetFileSizeEx
  virtual bool Seek(uint64_t pos) = 0;                                     // SetFilePointerEx
  virtual bool SetEnd() = 0;                                               // SetEndOfFile
  // GetFileTime / SetFileTime (last write only; a null pointer leaves a time as it is).
  virtual bool GetTimes(FileTime* creation, FileTime* access, FileTime* write) = 0;
  virtual bool SetTimes(const FileTime* creation, const FileTime* access,
                        const FileTime* write) = 0;
};

// CreateFileA's access, share and disposition values.
enum Access : uint32_t { kGenericRead = 0x80000000u, kGenericWrite = 0x40000000u };
enum Share : uint32_t { kShareNone = 0, kShareRead = 1, kShareWrite = 2, kShareDelete = 4 };
enum Disposition : uint32_t {
  kCreateNew = 1,
  kCreateAlways = 2,
  kOpenExisting = 3,
  kOpenAlways = 4,
  kTruncateExisting = 5,
};

// What tells one file or directory from every other while it exists: the volume serial number
// and the file index of BY_HANDLE_FILE_INFORMATION. Two names with equal identities lead to
// one file, whatever route each takes (a link, an alias, another spelling).
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// GetDriveTypeA results.
enum DriveType : uint32_t {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdrom = 5,
  kDriveRamdisk = 6,
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // FindFirstFileA with the system's wildcard rules ("*.*" matches names without a dot, ...).
  virtual std::unique_ptr<Finder> FindFirst(const char* pattern, FindData& out) = 0;
  // CreateFileA with FILE_ATTRIBUTE_NORMAL; share modes are enforced between all openers.
  virtual std::unique_ptr<File> Open(const char* path, uint32_t access, uint32_t share,
                                     uint32_t disposition) = 0;

  // CreateFileA for reading and writing, unshared, of an existing file or directory
  // (FILE_FLAG_BACKUP_SEMANTICS), to change its times.
  virtual std::unique_ptr<File> OpenForTimes(const char* path) = 0;

  // CreateFileA with no access, sharing everything, FILE_FLAG_BACKUP_SEMANTICS (so that a
  // directory opens too; links are followed), then GetFileInformationByHandle. Creates and
  // changes nothing. False when the file cannot be opened or the volume gives no identity
  // (a file index of 0).
  virtual bool GetIdentity(const char* path, FileIdentity& out) = 0;

  virtual uint32_t GetAttributes(const char* path) = 0;                 // GetFileAttributesA
  virtual bool SetAttributes(const char* path, uint32_t attributes) = 0; // SetFileAttributesA
  virtual bool CreateDir(const char* path) = 0;                         // CreateDirectoryA
  virtual bool RemoveDir(const char* path) = 0;                         // RemoveDirectoryA
  virtual bool DeleteFile(const char* path) = 0;                        // DeleteFileA
  virtual bool MoveFile(const char* from, const char* to) = 0;          // MoveFileA
  // MoveFileExA with MOVEFILE_REPLACE_EXISTING: replaces an existing file in one step.
  virtual bool ReplaceFile(const char* from, const char* to) = 0;
  // SHFileOperationA(FO_DELETE) on one file or directory (a directory goes with its contents)
  // with FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI, plus FOF_ALLOWUNDO when toRecycleBin:
  // the item then goes to the recycle bin. Read-only files are deleted too. False on failure
  // with the last error set to the shell's result code.
  virtual bool ShellDelete(const char* path, bool toRecycleBin) = 0;
  // True when path names a link to a file: a file symbolic link on Windows, a Unix symbolic
  // link to a file under Wine (listed there as a plain file, and deleted or renamed through to
  // what it leads to). A directory, or a path that cannot be read, is no file link.
  virtual bool IsFileLink(const char* path) = 0;

  // GetCurrentDirectoryA: returns the length; when size is too small, the size needed.
  virtual uint32_t GetCurrentDir(char* buf, uint32_t size) = 0;
  virtual bool SetCurrentDir(const char* path) = 0;                     // SetCurrentDirectoryA
  // GetFullPathNameA: returns the length, or the size needed when the buffer is too small.
  virtual uint32_t GetFullPath(const char* path, char* buf, uint32_t size) = 0;
  // GetDiskFreeSpaceExA: bytes free to the caller and total bytes of the disk holding path.
  virtual bool GetDiskFree(const char* path, uint64_t* freeToCaller, uint64_t* total) = 0;
  virtual uint32_t GetDriveType(const char* root) = 0;                  // GetDriveTypeA
  virtual uint32_t GetLogicalDrives() = 0;                              // GetLogicalDrives
  // GetTempPathA-like: a directory for temporary files, with a trailing separator.
  virtual uint32_t GetTempDir(char* buf, uint32_t size) = 0;
};

}  // namespace os
