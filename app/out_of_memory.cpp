#include "app/out_of_memory.h"

#include <atomic>
#include <new>

#include "table/sorm.h"

namespace app {
namespace {

OutOfMemoryActions installed;
std::atomic<bool> reporting{false};

// Shows the message unless a report is already under way (it ran out of memory itself).
void Report(const OutOfMemoryActions& actions) {
  if (!actions.report || reporting.exchange(true)) return;
  struct Done {
    ~Done() { reporting = false; }
  } done;
  actions.report();
}

void OnAllocationFailure() {
  Report(installed);
  if (installed.end) installed.end(kOutOfMemoryExitCode);
  throw std::bad_alloc();
}

}  // namespace

const char* OutOfMemoryText() { return table::kMemoryErrorText; }

void InstallOutOfMemoryHandler(const OutOfMemoryActions& actions) {
  installed = actions;
  std::set_new_handler(&OnAllocationFailure);
}

int RunReportingOutOfMemory(const std::function<int()>& run, const OutOfMemoryActions& actions) {
  try {
    return run();
  } catch (const std::bad_alloc&) {
    Report(actions);
    return kOutOfMemoryExitCode;
  }
}

}  // namespace app
