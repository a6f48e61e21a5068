// The window process's change monitor and icon loader: the worker thread, the records of the
// panes, the icon sources of the tables, and the handling of what the worker posts.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "exec/exec_link_info.h"
#include "exec/icon_loading.h"
#include "frame/pane_host.h"
#include "table/change_monitor.h"

namespace app {

class PaneMonitor : public table::MonitorPanes, public table::MessageSink {
 public:
  explicit PaneMonitor(frame::PaneHost& host);
  ~PaneMonitor() override;  // stops the worker first
  PaneMonitor(const PaneMonitor&) = delete;
  PaneMonitor& operator=(const PaneMonitor&) = delete;

  // A record per pane, each watching its table's path.
  void ArmAll();
  void Arm(int pane, const std::string& path);
  void Disarm(int pane);
  void DisarmAll();
  // Starts the worker thread (false when it cannot be created); stops it and waits for it.
  bool Start();
  void Stop();
  bool Running() const { return thread_ != nullptr; }

  // Handles a message of the worker; mainLoop: taken by the main loop. busy: the table must
  // not change now (a command runs, the mouse is tracked). True when it was one.
  bool Handle(UINT msg, WPARAM wp, LPARAM lp, bool mainLoop, bool busy);
  // Runs the updates that had to wait; call when the window is idle and not busy.
  void RunDeferred();
  bool HasDeferred() const { return deferred_[0] || deferred_[1]; }

  table::ChangeMonitor& core() { return monitor_; }

  // table::MonitorPanes (read by the worker: the panes and tables are fixed while it runs)
  int PaneCount() override { return host_.PaneCount(); }
  table::Sorm* Table(int pane) override;
  table::IconSource& Icons(int pane) override { return *icons_[pane == 1 ? 1 : 0]; }
  // table::MessageSink
  void Post(uint32_t message, uintptr_t wp, intptr_t lp) override;

 private:
  static unsigned __stdcall ThreadMain(void* self);
  void Update(int pane, bool abortable);

  frame::PaneHost& host_;
  std::unique_ptr<exec::EntryIconLoader> icons_[2];
  table::ChangeMonitor monitor_;
  HANDLE thread_ = nullptr;
  bool deferred_[2] = {false, false};
  bool vanished_[2] = {false, false};  // the pane's directory was reported gone
};

}  // namespace app
