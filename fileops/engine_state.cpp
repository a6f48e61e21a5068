#include "fileops/engine_state.h"

#include "fileops/engine_errors.h"
#include "fileops/engine_types.h"
#include "os/last_error.h"

namespace fileops {
namespace {
int g_lastCopyError = 0;
bool g_recycleDeletes = false;
std::string g_refusedLink;
}  // namespace

int RefuseFileLink(const char* path) {
  g_lastCopyError = kErrnoFileLink;
  g_refusedLink = path;
  return kEngineFailed;
}
const std::string& RefusedLink() { return g_refusedLink; }

int LastCopyError() { return g_lastCopyError; }
void SetLastCopyError(int code) { g_lastCopyError = code; }

int FailWithOsError(int result) {
  g_lastCopyError = CopyErrorFromWin32(os::LastError());
  return result;
}

bool RecycleDeletes() { return g_recycleDeletes; }
void SetRecycleDeletes(bool toRecycleBin) { g_recycleDeletes = toRecycleBin; }

}  // namespace fileops
