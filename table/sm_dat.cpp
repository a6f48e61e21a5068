#include "table/sm_dat.h"

#include "os/exact_name.h"
#include "table/icon_cache.h"

namespace table {
namespace {
DestroyIconFn g_destroyIcon = nullptr;
ReleaseCacheFn g_releaseCache = nullptr;
}  // namespace

void SetIconReleaseHooks(DestroyIconFn destroyIcon, ReleaseCacheFn releaseCache) {
  g_destroyIcon = destroyIcon;
  g_releaseCache = releaseCache;
}

void DestroyIconHandle(void* icon) {
  if (icon && g_destroyIcon) g_destroyIcon(icon);
}

const char* SM_DAT::AddressName() const {
  return os::AddressName(name.c_str(), alias.c_str(), unmappable);
}

SM_DAT::~SM_DAT() {
  if (iconFlags & kFromCache) {
    if (cache) {
      if (g_releaseCache)
        g_releaseCache(cache);
      else
        IconCache::ReleaseCached(cache);
    }
    return;
  }
  if (iconFlags & kOwnsLarge) DestroyIconHandle(largeIcon);
  if (iconFlags & kOwnsSmall) DestroyIconHandle(smallIcon);
}

}  // namespace table
