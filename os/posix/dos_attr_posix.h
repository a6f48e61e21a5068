// DOS attributes of host files, stored the way Wine stores them: READONLY is the absence of
// every write permission bit, DIRECTORY comes from the file type, regular files always report
// ARCHIVE, and HIDDEN and SYSTEM live in the extended attribute "user.DOSATTRIB" as "0x<hex>"
// (the Samba format). A symbolic link to a directory is a directory and a reparse point, as
// Wine reports it. A leading dot does not make a file hidden here, as on Windows.
// On a file system without extended attributes HIDDEN and SYSTEM cannot be kept: setting them
// succeeds and changes nothing.
#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <utility>

namespace os::posix {

// HIDDEN | SYSTEM as stored in the extended attribute of hostPath (0 when none).
uint32_t ReadDosXattr(const std::string& hostPath);
// The attributes for a stat result and the stored HIDDEN/SYSTEM bits.
uint32_t AttributesFrom(const struct stat& st, uint32_t storedBits);
// GetFileAttributesA on a host path: kInvalidAttributes with the error set on failure.
uint32_t GetDosAttributes(const std::string& hostPath);
// SetFileAttributesA on a host path (the file must exist).
bool SetDosAttributes(const std::string& hostPath, uint32_t attributes);
// True when the file system holding hostPath keeps extended attributes.
bool XattrSupported(const std::string& hostPath);

// ReadDosXattr for the entries of one open directory, for a directory search: the attribute
// is read relative to the directory's descriptor where the kernel can (no walk of the whole
// path per entry), and no longer asked for on a device that has answered that it keeps no
// extended attributes.
class DirXattrReader {
 public:
  // dirFd: the open directory; hostDir: its host path ending in "/".
  DirXattrReader(int dirFd, std::string hostDir) : fd_(dirFd), dir_(std::move(hostDir)) {}
  // The stored bits of the entry name; st is its stat result (links followed).
  uint32_t Read(const char* name, const struct stat& st);

 private:
  int fd_;
  std::string dir_;
  std::string path_;  // reused for reads by path
  bool noXattrDevKnown_ = false;
  dev_t noXattrDev_ = 0;
};

}  // namespace os::posix
