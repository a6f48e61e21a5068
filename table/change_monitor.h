// The change monitor: one worker thread per process watches each pane's directory and loads
// the icons of the panes' tables. Everything it finds reaches the user-interface thread as a
// posted message (table/monitor_messages.h); it never paints and never rescans itself.
//
// Each pane has an FNotification record with a change-notification handle, or none, when
// the directory cannot be watched: then the pane is polled every kPollInterval ms. Arm and
// Disarm run on the user-interface thread while the worker may be waiting on the old handle,
// so a handle the worker may still use is never closed there: it is retired, and the worker
// closes it between its waits. The records' handles are guarded by a small lock of their own;
// the tables are guarded by their own critical sections only.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "os/change_notify.h"
#include "table/icon_loader.h"
#include "table/link.h"
#include "table/monitor_messages.h"

namespace table {

constexpr int kArmAttempts = 11;
constexpr uint32_t kPollInterval = 8000;   // ms between polls of an unwatched pane
constexpr uint32_t kWaitSlice = 100;       // ms of one wait on a change handle
constexpr uint32_t kIconPassSleep = 80;    // ms slept before each icon pass
constexpr uint32_t kIconSliceLimit = 200;  // ms after which the icon slice ends

class FNotification : public Link {
 public:
  explicit FNotification(Link* parent, int pane) : Link(parent) { kind = pane; }
  ~FNotification() override;
  int pane() const { return kind; }
  os::ChangeHandle handle() const;  // kNoChangeHandle when unwatched

 private:
  friend class ChangeMonitor;
  class ChangeMonitor* monitor_ = nullptr;
  os::ChangeHandle handle_ = os::kNoChangeHandle;
  uint32_t lastPoll_ = 0;               // tick count of the last poll or check (worker only)
  std::string path_;                    // the watched directory (guarded like handle_)
  std::atomic<bool> changeQueued_{false};  // a change message waits to be handled
};

// What the worker needs of the panes: their tables and how their icons are filled.
class MonitorPanes {
 public:
  virtual ~MonitorPanes() = default;
  virtual int PaneCount() = 0;
  virtual Sorm* Table(int pane) = 0;  // null when the pane has none
  virtual IconSource& Icons(int pane) = 0;
  // Whether a watched directory is still there (GetFileAttributesA). A directory that is
  // renamed or removed does not always signal its own handle.
  virtual bool DirectoryExists(const std::string& path);
};

// Time as the worker sees it (GetTickCount and Sleep in the program).
class MonitorClock {
 public:
  virtual ~MonitorClock() = default;
  virtual uint32_t Ticks() = 0;
  virtual void Sleep(uint32_t ms) = 0;
};
MonitorClock& SystemMonitorClock();

class ChangeMonitor {
 public:
  ChangeMonitor(os::ChangeNotify& notify, MessageSink& sink, MonitorPanes& panes,
                MonitorClock& clock = SystemMonitorClock());
  ~ChangeMonitor();  // closes every handle; the worker must have ended
  ChangeMonitor(const ChangeMonitor&) = delete;
  ChangeMonitor& operator=(const ChangeMonitor&) = delete;

  // The record of a pane, made when the windows are built.
  FNotification& AddRecord(int pane);
  // The record with that pane index, or null.
  FNotification* Record(int pane);
  // Watches path (no subdirectories, filter 31) in up to 11 attempts: 0, or the last failure
  // (-1: no handle, -2: the first FindNext failed), and then the pane is polled.
  int Arm(FNotification& record, const std::string& path);
  // The pane is no longer watched.
  void Disarm(FNotification& record);

  // The worker thread's body: runs until the stop flag is set.
  void Run();
  // One round of the loop (an icon slice, then one look at every record); false once the
  // stop flag is set.
  bool RunOnce();
  void RequestStop() { stop_.store(true); }
  // Clears the stop flag before the worker is started again.
  void ResetStop() { stop_.store(false); }
  bool StopRequested() const { return stop_.load(); }

  // Posts the pane's change message as a change found by the worker would (coalesced with
  // one that waits). The window asks for it after arming: whatever changed between its scan
  // and the arming is caught by one incremental update.
  void QueueChange(FNotification& record);

  // The user-interface thread is about to handle pane's change message: a change found from
  // now on posts a new one. Until then further changes add nothing (they are coalesced).
  void ChangeHandled(int pane);

  // Counts of what the worker posted (for checks and benchmarks).
  uint32_t changesPosted() const { return changesPosted_.load(); }
  uint32_t pollsPosted() const { return pollsPosted_.load(); }

 private:
  friend class FNotification;
  void IconSlice();
  void Watch(FNotification& record);
  void Retire(os::ChangeHandle h);  // with lock_ held
  void CloseRetired();

  os::ChangeNotify& notify_;
  MessageSink& sink_;
  MonitorPanes& panes_;
  MonitorClock& clock_;
  Link head_;
  Link* sentinel_;
  std::atomic<bool> stop_{false};
  std::mutex lock_;  // the records' handles and the retired list
  std::vector<os::ChangeHandle> retired_;
  LoaderPane loader_[2];
  std::atomic<uint32_t> changesPosted_{0};
  std::atomic<uint32_t> pollsPosted_{0};
};

}  // namespace table
