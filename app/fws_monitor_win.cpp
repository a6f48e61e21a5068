// The application's side of the change monitor: starting and stopping the worker thread, the
// panes' records, and the worker's reports taken by loops other than the main one.
#include "app/fws_app_win.h"
#include "app/pane_monitor_win.h"
#include "frame/sdi_dec_frame_win.h"

bool fwsApp::StartPaneMonitor() {
  if (!monitor_) {
    monitor_ = std::make_unique<app::PaneMonitor>(*this);
    monitor_->ArmAll();
  }
  if (monitor_->Start()) return true;
  ::MessageBoxA(frame_ ? frame_->Handle() : nullptr, "スレッドが生成できません", "Sorumo", MB_OK);
  return false;
}

void fwsApp::StopPaneMonitor() {
  if (monitor_) monitor_->Stop();
}

bool fwsApp::MonitorBusy() const { return gate_.Busy() || mouse_.WantsIdle(); }

void fwsApp::DisarmPaneMonitor(int pane) {
  if (monitor_) monitor_->Disarm(pane);
}

void fwsApp::ArmPaneMonitor(int pane, const std::string& path) {
  if (monitor_) monitor_->Arm(pane, path);
}

void fwsApp::OnMonitorMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (monitor_) monitor_->Handle(msg, wp, lp, false, MonitorBusy());
}

bool fwsApp::MonitorMessageFromMainLoop(const MSG& msg) {
  return monitor_ && frame_ && msg.hwnd == frame_->Handle() &&
         monitor_->Handle(msg.message, msg.wParam, msg.lParam, true, MonitorBusy());
}
