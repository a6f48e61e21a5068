#include "config/config_lock.h"

#include "config/program_context.h"
#include "os/last_error.h"
#include "os/services.h"

namespace config {
namespace {
constexpr int kAttempts = 10;
constexpr int kOpensPerAttempt = 50;
constexpr uint32_t kHeldSleepMs = 100;

// Another process holds the lock: Win32 refuses the open for its share mode with a sharing
// violation. Anything else (access denied for a read-only lock file or a folder we may not
// write, a path that does not exist) will not change by waiting.
bool HeldElsewhere(uint32_t e) { return e == os::kErrSharingViolation; }

// After a failed creation: someone else created the file (or holds it) meanwhile.
bool MadeByAnother(const char* path, uint32_t e) {
  if (HeldElsewhere(e) || e == os::kErrFileExists || e == os::kErrAlreadyExists) return true;
  // A creation refused while the file is there after all (for example while it is being
  // deleted) is worth another try; one refused in an empty folder is not.
  return e == os::kErrAccessDenied && os::Fs().GetAttributes(path) != os::kInvalidAttributes;
}
}  // namespace

ConfigLock TryAcquireConfigLockOnce(bool* cannotBeMade) {
  if (cannotBeMade) *cannotBeMade = false;
  const char* path = Context().lockFilePath.c_str();
  for (int open = 0; open < kOpensPerAttempt; ++open) {
    ConfigLock f = os::Fs().Open(path, os::kGenericRead | os::kGenericWrite, os::kShareRead,
                                 os::kOpenExisting);
    if (f) return f;
    uint32_t e = os::LastError();
    if (HeldElsewhere(e)) {
      os::Sys().Sleep(kHeldSleepMs);
      os::Sys().PeekPending();
      continue;
    }
    if (e == os::kErrFileNotFound) {
      auto created = os::Fs().Open(path, os::kGenericWrite, os::kShareRead | os::kShareWrite,
                                   os::kCreateNew);
      if (created || MadeByAnother(path, os::LastError())) continue;  // try again at once
    }
    if (cannotBeMade) *cannotBeMade = true;
    return nullptr;
  }
  return nullptr;
}

ConfigLock AcquireConfigLock() {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    bool cannotBeMade = false;
    if (ConfigLock f = TryAcquireConfigLockOnce(&cannotBeMade)) return f;
    if (cannotBeMade) break;
  }
  return nullptr;
}

}  // namespace config
