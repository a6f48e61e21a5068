#include "os/exact_name.h"

#include <cstring>

#include "os/last_error.h"
#include "os/services.h"

namespace os {

bool HasWildcards(const char* path) {
  return path && std::strpbrk(path, "*?") != nullptr;
}

const char* AddressName(const char* name, const char* alias, bool unmappable) {
  if (!unmappable) return name;
  return alias && *alias ? alias : nullptr;
}

bool FindExact(const char* path, FindData& out) {
  if (HasWildcards(path)) {
    SetLastError(kErrInvalidName);
    return false;
  }
  return Fs().FindFirst(path, out) != nullptr;
}

}  // namespace os
