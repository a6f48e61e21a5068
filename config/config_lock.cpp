#include "config/config_lock.h"

#include "config/program_context.h"
#include "os/last_error.h"
#include "os/services.h"

namespace config {
namespace {
constexpr int kAttempts = 10;
constexpr int kOpensPerAttempt = 50;
constexpr uint32_t kHeldSleepMs = 100;

// A lock held by another process is refused with a sharing violation on Win32; an access
// denial means the same for our purpose (the file is in use or momentarily not ours).
bool HeldElsewhere(uint32_t e) { return e == os::kErrSharingViolation || e == os::kErrAccessDenied; }
}  // namespace

ConfigLock TryAcquireConfigLockOnce() {
  const char* path = Context().lockFilePath.c_str();
  for (int open = 0; open < kOpensPerAttempt; ++open) {
    ConfigLock f = os::Fs().Open(path, os::kGenericRead | os::kGenericWrite, os::kShareRead,
                                 os::kOpenExisting);
    if (f) return f;
    uint32_t e = os::LastError();
    if (HeldElsewhere(e)) {
      os::Sys().Sleep(kHeldSleepMs);
      os::Sys().PeekPending();
    } else if (e == os::kErrFileNotFound) {
      auto created = os::Fs().Open(path, os::kGenericWrite, os::kShareRead | os::kShareWrite,
                                   os::kCreateNew);
      if (!created) {
        uint32_t ce = os::LastError();
        // Someone else may have created it in between, or holds it: try again at once.
        if (!HeldElsewhere(ce) && ce != os::kErrFileExists && ce != os::kErrAlreadyExists)
          return nullptr;
      }
    } else {
      return nullptr;
    }
  }
  return nullptr;
}

ConfigLock AcquireConfigLock() {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (ConfigLock f = TryAcquireConfigLockOnce()) return f;
  }
  return nullptr;
}

}  // namespace config
