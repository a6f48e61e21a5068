// FILETIME (100-nanosecond intervals since 1601-01-01 UTC) and host times.
#pragma once
#include <sys/stat.h>

#include <cstdint>
#include <ctime>

#include "os/types.h"

namespace os::posix {

constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;

inline FileTime FileTimeFrom(const struct timespec& ts) {
  int64_t ticks = (static_cast<int64_t>(ts.tv_sec) + kSecondsFrom1601To1970) * 10000000LL +
                  ts.tv_nsec / 100;
  return ticks < 0 ? 0 : static_cast<FileTime>(ticks);
}

inline struct timespec TimespecFrom(FileTime ft) {
  struct timespec ts;
  ts.tv_sec = static_cast<time_t>(static_cast<int64_t>(ft / 10000000ULL) - kSecondsFrom1601To1970);
  ts.tv_nsec = static_cast<long>((ft % 10000000ULL) * 100);
  return ts;
}

// Wine on Linux reports the last write time as the creation time; so does this emulation.
inline void TimesFromStat(const struct stat& st, FileTime* creation, FileTime* access,
                          FileTime* write) {
  if (creation) *creation = FileTimeFrom(st.st_mtim);
  if (access) *access = FileTimeFrom(st.st_atim);
  if (write) *write = FileTimeFrom(st.st_mtim);
}

}  // namespace os::posix
