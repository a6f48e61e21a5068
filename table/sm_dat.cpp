#include "table/sm_dat.h"

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

SM_DAT::~SM_DAT() {
  if (iconFlags & kFromCache) {
    if (cache && g_releaseCache) g_releaseCache(cache);
    return;
  }
  if (iconFlags & kOwnsLarge) DestroyIconHandle(largeIcon);
  if (iconFlags & kOwnsSmall) DestroyIconHandle(smallIcon);
}

}  // namespace table
