#include "tests/unit/monitor_test_support.h"

namespace monitortest {

std::atomic<int>& CountingIcons::Alive() {
  static std::atomic<int> alive{0};
  return alive;
}

CountingIcons::CountingIcons() {
  table::SetIconReleaseHooks(
      [](void* icon) {
        delete static_cast<int*>(icon);
        --Alive();
      },
      nullptr);
}

CountingIcons::~CountingIcons() { table::SetIconReleaseHooks(nullptr, nullptr); }

void CountingIcons::LoadIcons(table::Sorm&, const std::string& directory, table::BINFO& entry) {
  table::SM_DAT& d = *entry.Data();
  if (d.largeIcon) return;  // the loader never fills an entry twice
  d.largeIcon = new int(entry.index);
  ++Alive();
  d.iconFlags |= table::kOwnsLarge;
  filled.push_back(d.name);
  lastDirectory = directory;
}

}  // namespace monitortest
