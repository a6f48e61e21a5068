// Change notification on a directory: a handle that becomes signalled when something in the
// directory changes, re-armed by FindNext. Each method names the Win32 call it stands for.
#pragma once
#include <cstdint>

namespace os {

// The filter the program watches with: file names, directory names, attributes, size and
// last write (FILE_NOTIFY_CHANGE_FILE_NAME | DIR_NAME | ATTRIBUTES | SIZE | LAST_WRITE).
constexpr uint32_t kWatchFilter = 31;

using ChangeHandle = intptr_t;
constexpr ChangeHandle kNoChangeHandle = -1;  // INVALID_HANDLE_VALUE

enum class WaitResult { kSignalled, kTimeout, kFailed };

class ChangeNotify {
 public:
  virtual ~ChangeNotify() = default;
  // FindFirstChangeNotificationA; kNoChangeHandle on failure.
  virtual ChangeHandle FindFirst(const char* path, bool subtree, uint32_t filter) = 0;
  // FindNextChangeNotification: the handle waits for the next change.
  virtual bool FindNext(ChangeHandle h) = 0;
  // FindCloseChangeNotification.
  virtual void Close(ChangeHandle h) = 0;
  // WaitForSingleObject on the handle for at most ms milliseconds.
  virtual WaitResult Wait(ChangeHandle h, uint32_t ms) = 0;
};

// The backend's change notification (win32 or posix, chosen at link time).
ChangeNotify& ChangeNotifications();

}  // namespace os
