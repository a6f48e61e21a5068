#include "fileops/engine_state.h"

#include "fileops/engine_errors.h"
#include "fileops/engine_types.h"
#include "os/last_error.h"

namespace fileops {
namespace {
int g_lastCopyError = 0;
bool g_recycleDeletes = false;
std::string g_refusedLinkPath;
}  // namespace

int RefuseFileLink(const char* path) {
  g_lastCopyError = kErrnoFileLink;
  g_refusedLinkPath = path;
  return kEngineFailed;
}

int LastCopyError() { return g_lastCopyError; }
void SetLastCopyError(int code) { g_lastCopyError = code; }

int FailWithOsError(int result) {
  g_lastCopyError = CopyErrorFromWin32(os::LastError());
  return result;
}

const std::string& RefusedLinkPath() { return g_refusedLinkPath; }
void SetRefusedLinkPath(const std::string& path) { g_refusedLinkPath = path; }

bool RecycleDeletes() { return g_recycleDeletes; }
void SetRecycleDeletes(bool toRecycleBin) { g_recycleDeletes = toRecycleBin; }

}  // namespace fileops
