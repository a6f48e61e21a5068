#include "app/out_of_memory.h"

#include <atomic>
#include <new>

#include "table/sorm.h"

namespace app {
namespace {

OutOfMemoryActions installed;
std::atomic<bool> reporting{false};
// The table's error box in force (made and ended on the window's thread).
std::atomic<TableErrorBoxForMemory*> tableBox{nullptr};

// Shows the message unless a report is already under way (it ran out of memory itself).
void Report(const OutOfMemoryActions& actions) {
  if (reporting.exchange(true)) return;
  struct Done {
    ~Done() { reporting = false; }
  } done;
  const TableErrorBoxForMemory* box = tableBox.load();
  if (box && box->ShowHere(OutOfMemoryText())) return;
  if (actions.report) actions.report();
}

void OnAllocationFailure() {
  Report(installed);
  if (installed.end) installed.end(kOutOfMemoryExitCode);
  throw std::bad_alloc();
}

}  // namespace

const char* OutOfMemoryText() { return table::kMemoryErrorText; }

TableErrorBoxForMemory::TableErrorBoxForMemory(Show show, void* context)
    : show_(show), context_(context), thread_(std::this_thread::get_id()),
      previous_(tableBox.exchange(this)) {}

TableErrorBoxForMemory::~TableErrorBoxForMemory() { tableBox = previous_; }

bool TableErrorBoxForMemory::ShowHere(const char* text) const {
  if (!show_ || std::this_thread::get_id() != thread_) return false;
  show_(text, context_);
  return true;
}

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
