// The cross-process lock that serialises every writer of the configuration file: an empty file
// "smlock" beside the program, held open for reading and writing while shared with readers
// only, so that a second opener of the same kind is refused.
#pragma once
#include <memory>

#include "os/filesystem.h"

namespace config {

using ConfigLock = std::unique_ptr<os::File>;  // released (closed) when it goes out of scope

// Up to 10 attempts of at most 50 opens each; while another process holds the lock, sleeps
// 100 ms between opens and lets the thread's queue serve sent messages. Creates the lock file
// when it is missing. A lock file that cannot be made or opened for writing here (a read-only
// file, a folder the user may not write, a missing folder) fails at once: no waiting helps.
// Null when the lock could not be had; the caller reports "Lock error".
ConfigLock AcquireConfigLock();
inline void ReleaseConfigLock(ConfigLock& lock) { lock.reset(); }

// One attempt (the inner loop). When it fails because the lock file cannot be had here at all,
// *cannotBeMade is set (it is cleared otherwise). Exposed for tests.
ConfigLock TryAcquireConfigLockOnce(bool* cannotBeMade = nullptr);

}  // namespace config
