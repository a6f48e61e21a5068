// Pieces shared by the change monitor and icon loader tests: a sink that records the posted
// messages, and an icon source that hands out fake icons it can account for.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "table/icon_loader.h"
#include "table/monitor_messages.h"

namespace monitortest {

struct Posted {
  uint32_t message;
  uintptr_t wp;
  intptr_t lp;
};

class RecordingSink : public table::MessageSink {
 public:
  void Post(uint32_t message, uintptr_t wp, intptr_t lp) override {
    std::lock_guard<std::mutex> g(lock_);
    posted_.push_back({message, wp, lp});
  }
  std::vector<Posted> Take() {
    std::lock_guard<std::mutex> g(lock_);
    std::vector<Posted> out;
    out.swap(posted_);
    return out;
  }
  int Count(uint32_t message, intptr_t lp = -1) {
    std::lock_guard<std::mutex> g(lock_);
    int n = 0;
    for (const Posted& p : posted_)
      if (p.message == message && (lp == -1 || p.lp == lp)) ++n;
    return n;
  }

 private:
  std::mutex lock_;
  std::vector<Posted> posted_;
};

// Gives every entry a large icon of its own (owned, a heap cell the release hook frees) and
// records which names it filled. Installs the hook for its lifetime.
class CountingIcons : public table::IconSource {
 public:
  CountingIcons();
  ~CountingIcons() override;
  void LoadIcons(table::Sorm& table, const std::string& directory, table::BINFO& entry) override;
  std::vector<std::string> filled;  // written with the table's lock held
  std::string lastDirectory;
  static std::atomic<int>& Alive();  // icons made and not yet destroyed
};

}  // namespace monitortest
