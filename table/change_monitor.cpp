#include "table/change_monitor.h"

#include "os/clock.h"
#include "os/services.h"

namespace table {
namespace {

class SystemClock : public MonitorClock {
 public:
  uint32_t Ticks() override { return os::Sys().TickCount(); }
  void Sleep(uint32_t ms) override { os::Sys().Sleep(ms); }
};

// More than limit ms since start, or the tick count wrapped.
bool Elapsed(uint32_t now, uint32_t start, uint32_t limit) {
  return now < start || now - start > limit;
}

}  // namespace

bool MonitorPanes::DirectoryExists(const std::string& path) {
  const uint32_t a = os::Fs().GetAttributes(path.c_str());
  return a != os::kInvalidAttributes && (a & 0x10) != 0;
}

MonitorClock& SystemMonitorClock() {
  static SystemClock clock;
  return clock;
}

FNotification::~FNotification() {
  if (monitor_ && handle_ != os::kNoChangeHandle) monitor_->notify_.Close(handle_);
}

os::ChangeHandle FNotification::handle() const {
  std::lock_guard<std::mutex> guard(monitor_->lock_);
  return handle_;
}

ChangeMonitor::ChangeMonitor(os::ChangeNotify& notify, MessageSink& sink, MonitorPanes& panes,
                             MonitorClock& clock)
    : notify_(notify), sink_(sink), panes_(panes), clock_(clock),
      sentinel_(new Link(&head_)) {}

ChangeMonitor::~ChangeMonitor() {
  CloseRetired();
  head_.DestroyChildren();  // the records close their handles
}

FNotification& ChangeMonitor::AddRecord(int pane) {
  auto* r = new FNotification(&head_, pane);
  r->monitor_ = this;
  return *r;
}

FNotification* ChangeMonitor::Record(int pane) {
  for (Link* l = sentinel_->next; l != sentinel_; l = l->next)
    if (l->kind == pane) return static_cast<FNotification*>(l);
  return nullptr;
}

int ChangeMonitor::Arm(FNotification& record, const std::string& path) {
  int result = -1;
  os::ChangeHandle h = os::kNoChangeHandle;
  for (int attempt = 0; attempt < kArmAttempts; ++attempt) {
    h = notify_.FindFirst(path.c_str(), false, os::kWatchFilter);
    if (h == os::kNoChangeHandle) {
      result = -1;
      continue;
    }
    if (notify_.FindNext(h)) {
      result = 0;
      break;
    }
    notify_.Close(h);
    h = os::kNoChangeHandle;
    result = -2;
  }
  std::lock_guard<std::mutex> guard(lock_);
  Retire(record.handle_);
  record.handle_ = h;
  record.path_ = path;
  return result;
}

void ChangeMonitor::Disarm(FNotification& record) {
  std::lock_guard<std::mutex> guard(lock_);
  Retire(record.handle_);
  record.handle_ = os::kNoChangeHandle;
}

void ChangeMonitor::Retire(os::ChangeHandle h) {
  if (h != os::kNoChangeHandle) retired_.push_back(h);
}

void ChangeMonitor::CloseRetired() {
  std::vector<os::ChangeHandle> closing;
  {
    std::lock_guard<std::mutex> guard(lock_);
    closing.swap(retired_);
  }
  for (os::ChangeHandle h : closing) notify_.Close(h);
}

void ChangeMonitor::QueueChange(FNotification& record) {
  if (record.changeQueued_.exchange(true)) return;
  sink_.Post(kMsgDirectoryChanged, static_cast<uintptr_t>(record.pane()), 0);
  ++changesPosted_;
}

void ChangeMonitor::ChangeHandled(int pane) {
  if (FNotification* r = Record(pane)) r->changeQueued_.store(false);
}

void ChangeMonitor::IconSlice() {
  const uint32_t start = clock_.Ticks();
  const uint64_t deadline = os::MonotonicMicros() + uint64_t{kIconSliceLimit} * 1000;
  for (int pass = 0; pass < 2; ++pass) {
    clock_.Sleep(kIconPassSleep);
    if (StopRequested()) return;
    const int n = panes_.PaneCount();
    for (int pane = 0; pane < n && pane < 2; ++pane) {
      if (Sorm* t = panes_.Table(pane))
        LoaderStep(*t, pane, loader_[pane], panes_.Icons(pane), sink_, deadline,
                   [this] { return StopRequested(); });
      if (StopRequested()) return;
    }
    if (Elapsed(clock_.Ticks(), start, kIconSliceLimit)) return;
  }
}

void ChangeMonitor::Watch(FNotification& record) {
  os::ChangeHandle h;
  std::string path;
  {
    std::lock_guard<std::mutex> guard(lock_);
    h = record.handle_;
    if (h != os::kNoChangeHandle) path = record.path_;
  }
  if (h == os::kNoChangeHandle) {
    const uint32_t now = clock_.Ticks();
    if (Elapsed(now, record.lastPoll_, kPollInterval)) {
      sink_.Post(kMsgUser, static_cast<uintptr_t>(record.pane()), kCodePollPane);
      ++pollsPosted_;
      record.lastPoll_ = now;
    }
    return;
  }
  // Every poll interval a watched directory is looked for: gone, the window is told as for a
  // change, and its update reports it.
  const uint32_t now = clock_.Ticks();
  if (Elapsed(now, record.lastPoll_, kPollInterval)) {
    record.lastPoll_ = now;
    if (!panes_.DirectoryExists(path)) QueueChange(record);
  }
  const os::WaitResult r = notify_.Wait(h, kWaitSlice);
  if (StopRequested() || r == os::WaitResult::kTimeout) return;
  std::lock_guard<std::mutex> guard(lock_);
  if (record.handle_ != h) return;  // disarmed or armed elsewhere meanwhile
  if (r == os::WaitResult::kSignalled) {
    QueueChange(record);
    if (notify_.FindNext(h)) return;
  }
  // The handle no longer works (its directory went away): the pane is polled from now on,
  // the first time at once.
  Retire(h);
  record.handle_ = os::kNoChangeHandle;
  record.lastPoll_ = now - kPollInterval - 1;
}

bool ChangeMonitor::RunOnce() {
  IconSlice();
  if (StopRequested()) return false;
  for (Link* l = sentinel_->next; l != sentinel_; l = l->next) {
    Watch(*static_cast<FNotification*>(l));
    if (StopRequested()) return false;
  }
  CloseRetired();
  return !StopRequested();
}

void ChangeMonitor::Run() {
  while (RunOnce()) {
  }
  CloseRetired();
}

}  // namespace table
