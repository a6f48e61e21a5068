// Helpers shared by the unit tests: a scratch directory made and removed through the OS layer,
// so the same test runs natively (posix backend) and under Wine (win32 backend).
#pragma once
#include <string>

namespace testutil {

// A fresh, empty directory under the system's temporary directory; removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory with a trailing backslash; Path("a.txt") joins a name to it.
  const std::string& Dir() const { return dir_; }
  std::string Path(const std::string& name) const { return dir_ + name; }

 private:
  std::string dir_;
};

// Writes bytes to a file (created or truncated) through the OS layer; true on success.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Reads a whole file through the OS layer; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Removes a file or directory tree through the OS layer.
void RemoveTree(const std::string& path);

// The major version of the Wine the test runs under; 0 on Windows and in the native build.
int WineMajorVersion();

}  // namespace testutil
