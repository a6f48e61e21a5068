#include "os/posix/resolve_posix.h"

#include "os/posix/path_map.h"
#include "os/posix/posix_error.h"
#include "os/types.h"

namespace os::posix {

bool Resolve(const char* path, Resolved& out, bool keepLastCase) {
  if (!path) return Fail(kErrPathNotFound);
  if (!*path) return Fail(kErrPathNotFound);
  if (uint32_t e = CheckPathText(path)) return Fail(e);
  if (!MakeFullPath(path, CurrentDirectory(), out.full)) return Fail(kErrPathNotFound);
  out.host = HostFromFull(out.full, keepLastCase);
  if (out.host.empty()) return Fail(kErrPathNotFound);
  return true;
}

}  // namespace os::posix
