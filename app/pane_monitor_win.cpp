#include "app/pane_monitor_win.h"

#include <process.h>

#include "config/program_context.h"
#include "exec/table_associations.h"
#include "frame/winfo_win.h"
#include "os/services.h"
#include "os/shell_icons.h"
#include "table/sorm.h"

namespace app {

PaneMonitor::PaneMonitor(frame::PaneHost& host)
    : host_(host), monitor_(os::ChangeNotifications(), *this, *this) {
  const config::ProgramContext& g = config::Context();
  // Each table's own association lists, which the window's thread uses too: the loader runs
  // with the table's lock held, as the window's thread does when it looks up.
  for (auto& loader : icons_)
    loader = std::make_unique<exec::EntryIconLoader>(
        [](table::Sorm& t) -> exec::Associations& { return exec::TableAssociations(t); },
        os::SystemShellIcons(), g.windowsMajorVersion);
  for (int i = 0; i < host_.PaneCount(); ++i) monitor_.AddRecord(i);
}

PaneMonitor::~PaneMonitor() { Stop(); }

table::Sorm* PaneMonitor::Table(int pane) {
  WINFO* p = host_.Pane(pane);
  return p ? p->Table() : nullptr;
}

void PaneMonitor::ArmAll() {
  for (int i = 0; i < host_.PaneCount(); ++i)
    if (table::Sorm* t = Table(i)) Arm(i, t->path());
}

void PaneMonitor::Arm(int pane, const std::string& path) {
  table::FNotification* r = monitor_.Record(pane);
  if (!r) return;
  if (monitor_.Arm(*r, path) != 0) return;  // polled instead
  vanished_[pane == 1 ? 1 : 0] = false;
  // The listing was made before the watch began: when a name changed meanwhile (the folder's
  // write time moved), one update catches it. Without that the update is spared: on a large
  // folder it costs as much as the listing.
  table::Sorm* t = Table(pane);
  const uint64_t now = table::DirectoryWriteTime(path);
  if (!t || now == 0 || now != t->scannedDirectoryTime()) monitor_.QueueChange(*r);
}

void PaneMonitor::Disarm(int pane) {
  if (table::FNotification* r = monitor_.Record(pane)) monitor_.Disarm(*r);
}

void PaneMonitor::DisarmAll() {
  for (int i = 0; i < 2; ++i) Disarm(i);
}

unsigned __stdcall PaneMonitor::ThreadMain(void* self) {
  // (The shell's icons start COM on this thread when a shortcut needs it.) Loading icons is
  // background work: it must not take the processor from the window's own thread.
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  static_cast<PaneMonitor*>(self)->monitor_.Run();
  return 0;
}

bool PaneMonitor::Start() {
  if (thread_) return true;
  monitor_.ResetStop();
  // A small committed stack; the reserve stays the program's default.
  thread_ = reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 4096, &ThreadMain, this, 0,
                                                      nullptr));
  return thread_ != nullptr;
}

void PaneMonitor::Stop() {
  if (!thread_) return;
  monitor_.RequestStop();
  ::WaitForSingleObject(thread_, INFINITE);
  ::CloseHandle(thread_);
  thread_ = nullptr;
}

void PaneMonitor::Post(uint32_t message, uintptr_t wp, intptr_t lp) {
  ::PostMessageA(host_.FrameHandle(), message, wp, lp);
}

void PaneMonitor::Update(int pane, bool abortable) {
  WINFO* p = host_.Pane(pane);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  if (!abortable) monitor_.ChangeHandled(pane);
  deferred_[pane] = false;
  table::UpdateAbortFlag().store(abortable);
  t->Update();
  table::UpdateAbortFlag().store(false);
  t->TitleText();
  // A directory that went away while it was watched: the pane stays usable, says once that
  // it cannot list it, and polls it from now on (it may come back).
  const uint32_t a = os::Fs().GetAttributes(t->path().c_str());
  const bool gone = a == os::kInvalidAttributes || !(a & 0x10);
  if (gone && !vanished_[pane]) {
    vanished_[pane] = true;
    Disarm(pane);
    p->ErrorBox(table::kRescanFailedText);
  }
}

bool PaneMonitor::Handle(UINT msg, WPARAM wp, LPARAM lp, bool mainLoop, bool busy) {
  const bool ours = (msg >= table::kMsgDirectoryChanged && msg <= table::kMsgIconsComplete) ||
                    (msg == table::kMsgUser &&
                     (lp == table::kCodePollPane || lp == table::kCodeIconsVisible));
  if (!ours) return false;
  const int pane = table::PaneOf(wp);
  WINFO* p = host_.Pane(pane);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return true;
  table::MonitorContext c;
  c.mainLoop = mainLoop;
  c.busy = busy;
  if (msg == table::kMsgUser && lp == table::kCodePollPane) {
    MSG waiting;
    c.messageWaiting = ::PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
  }
  const bool current = table::SameGeneration(wp, t->rescanGeneration());
  switch (table::DecideMonitorAction(msg, lp, c)) {
    case table::MonitorAction::kUpdate:
      Update(pane, false);
      break;
    case table::MonitorAction::kUpdateAbortable:
      Update(pane, true);
      break;
    case table::MonitorAction::kDefer:
      deferred_[pane] = true;
      break;
    case table::MonitorAction::kProgress:
      if (current) t->SetLoadedIndex(static_cast<int32_t>(lp));
      break;
    case table::MonitorAction::kComplete:
      if (!current) break;
      {
        std::lock_guard<std::mutex> guard(t->lock());
        if (t->loaderState() == table::kLoaderLoading) t->SetLoaderState(table::kLoaderComplete);
        t->SetLoadedIndex(static_cast<int32_t>(lp));
      }
      p->Repaint();
      break;
    case table::MonitorAction::kRepaint:
      if (current) p->Repaint();
      break;
    case table::MonitorAction::kNone:
      break;
  }
  return true;
}

void PaneMonitor::RunDeferred() {
  for (int pane = 0; pane < 2; ++pane)
    if (deferred_[pane]) Update(pane, false);
}

}  // namespace app
