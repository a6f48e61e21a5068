#include "os/posix/posix_backend.h"

namespace os {

Services& BackendServices() {
  static Services s{&posix::PosixFileSystem(), &posix::PosixProfile(), &posix::PosixRegistry(),
                    &posix::PosixSystem(), &BackendShellLinks(), &BackendHelpViewer()};
  return s;
}

}  // namespace os
