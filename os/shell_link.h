// Shell shortcuts (.LNK files) read and written through the shell's link object
// (CoCreateInstance(CLSID_ShellLink) with IShellLinkA and IPersistFile).
#pragma once
#include <cstddef>
#include <string>

#include "os/types.h"

namespace os {

// The buffer each text of a shortcut is read into: a path or an argument line up to
// kShellLinkTextMax bytes comes back whole, a longer one is flagged instead of cut.
constexpr std::size_t kShellLinkTextMax = 1024;
constexpr std::size_t kShellLinkTextBuffer = kShellLinkTextMax + 3;

// What a shortcut holds. Each "got" flag tells whether the matching IShellLinkA getter succeeded;
// a getter that fails leaves its field empty. A getter whose text filled its buffer
// (kShellLinkTextBuffer, os::TakeWholeText) leaves its field empty and sets tooLong.
struct ShellLinkData {
  std::string path;              // IShellLinkA::GetPath
  FindData pathData;             // the find data GetPath returns with the path
  bool gotPath = false;
  std::string arguments;         // GetArguments
  bool gotArguments = false;
  int showCommand = 0;           // GetShowCmd
  bool gotShowCommand = false;
  std::string workingDirectory;  // GetWorkingDirectory
  bool gotWorkingDirectory = false;
  std::string iconLocation;      // GetIconLocation and its index
  int iconIndex = 0;
  bool gotIconLocation = false;
  bool tooLong = false;          // the path, arguments or working directory did not fit
};

// What a new shortcut is made of (SetPath, SetIconLocation with index 0, SetDescription,
// SetWorkingDirectory, SetArguments when there are any, then IPersistFile::Save with
// remember = true).
struct ShellLinkFields {
  std::string target;
  std::string iconLocation;
  std::string description;
  std::string workingDirectory;
  std::string arguments;
};

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;
  // Loads the shortcut at path (STGM_READ) without resolving it, so reading never brings up
  // user interface. False, with the last error set, when the link object cannot be made or the
  // file cannot be loaded (missing, corrupt); a backend without a shell always fails.
  virtual bool Read(const char* path, ShellLinkData& out) = 0;
  // Makes a shortcut file at path. False when the object cannot be made, a required setter
  // fails or saving fails; a failing SetWorkingDirectory is ignored.
  virtual bool Write(const char* path, const ShellLinkFields& wanted) = 0;
};

// The backend's own implementation (win32: the shell's object; posix: always unreadable).
ShellLinks& BackendShellLinks();

}  // namespace os
