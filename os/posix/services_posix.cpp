#include "os/posix/posix_backend.h"

namespace os {

Services& BackendServices() {
  static Services s{&posix::PosixFileSystem(), &posix::PosixProfile(), &posix::PosixRegistry(),
                    &posix::PosixSystem()};
  return s;
}

}  // namespace os
