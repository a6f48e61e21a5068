#include "fileops/engine_same_file.h"

#include <string>

#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "os/last_error.h"
#include "os/services.h"

namespace fileops {
namespace {

constexpr uint32_t kShareReadWrite = os::kShareRead | os::kShareWrite;

bool FullPath(const char* path, char (&out)[os::kMaxPath]) {
  uint32_t n = os::Fs().GetFullPath(path, out, sizeof(out));
  return n > 0 && n < sizeof(out);
}

std::unique_ptr<os::File> OpenShared(const char* path) {
  return os::Fs().Open(path, os::kGenericRead, kShareReadWrite, os::kOpenExisting);
}

std::unique_ptr<os::File> OpenExclusive(const char* path) {
  return os::Fs().Open(path, os::kGenericRead, os::kShareNone, os::kOpenExisting);
}

// The share-mode test once the full paths differ. An exclusive open of the second name fails
// with a sharing violation while we hold the first one open exactly when both are one file or
// someone else holds the second; which of the two is told by opening again.
void ProbeByShareModes(const char* a, const char* b, std::unique_ptr<os::File> ha,
                       SameFileProbe& p) {
  if (!ha) ha = OpenShared(a);
  if (!ha && IsAccessError(os::LastError())) {
    p.result = -1;
    return;
  }
  std::unique_ptr<os::File> hb = OpenExclusive(b);
  if (hb) {
    p.first = std::move(ha);
    return;
  }
  const uint32_t eb = os::LastError();
  if (!IsAccessError(eb)) {
    p.secondMissing = IsNotFoundError(eb);
    p.first = std::move(ha);
    return;
  }
  if (ha && eb == os::kErrSharingViolation) {
    ha.reset();
    hb = OpenExclusive(b);
    if (hb) {
      // Our own handle was in the way. Confirm from the other side, so that a second name
      // that was busy for a moment is not taken for the first.
      std::unique_ptr<os::File> again = OpenShared(a);
      if (!again && os::LastError() == os::kErrSharingViolation) {
        p.result = 1;
        return;
      }
      p.first = std::move(again);
      return;
    }
    if (!IsAccessError(os::LastError())) return;
  }
  p.result = -2;
}

// Two directories are one when their full paths are equal without case, or when the file
// system gives both one identity (a link, an alias or a mapped drive leading to the same
// directory). Nothing is written: where no identity can be had, the paths alone decide. A name
// that cannot be reached for want of access is reported as such.
int SameDirectoryCheck(const char* a, const char* b) {
  if (SameFullPath(a, b)) return 1;
  os::FileIdentity ia, ib;
  if (!os::Fs().GetIdentity(a, ia)) return IsAccessError(os::LastError()) ? -1 : 0;
  if (!os::Fs().GetIdentity(b, ib)) return IsAccessError(os::LastError()) ? -2 : 0;
  return ia == ib ? 1 : 0;
}

}  // namespace

bool SameFullPath(const char* first, const char* second) {
  char fa[os::kMaxPath], fb[os::kMaxPath];
  return FullPath(first, fa) && FullPath(second, fb) && os::Sys().CompareNoCase(fa, fb) == 0;
}

SameFileProbe ProbeSameFile(const char* first, const char* second,
                            std::unique_ptr<os::File> firstHandle) {
  SameFileProbe p;
  if (SameFullPath(first, second)) {
    p.result = 1;
    return p;
  }
  ProbeByShareModes(first, second, std::move(firstHandle), p);
  return p;
}

int SameFileCheck(const char* first, const char* second, bool asDirectories) {
  if (asDirectories) return SameDirectoryCheck(first, second);
  return ProbeSameFile(first, second).result;
}

int IsInsideSource(const char* source, const char* destination) {
  std::string current = destination;
  while (!current.empty() && !EndsWithColon(current)) {
    int r = SameFileCheck(source, current.c_str(), true);
    if (r != 0) return r;
    std::size_t cut = LastBackslash(current);
    if (cut == std::string::npos) break;
    current.resize(cut);
  }
  return 0;
}

}  // namespace fileops
