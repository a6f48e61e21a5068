// Drag and drop of the application: the panes' drop targets, drops handed to the file
// operations, and drags started from a press on an entry.
#include <memory>

#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "config/program_context.h"
#include "fileops/drag_win.h"
#include "fileops/drop_files_win.h"
#include "fileops/drop_ole_win.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/winfo_win.h"
#include "fw/lazy_api.h"

namespace {
constexpr uint32_t kOleShellMajorVersion = 4;
}  // namespace

void fwsApp::AcceptDrops() {
  const bool ole = oleInitialized_ && config::Context().windowsMajorVersion >= kOleShellMajorVersion;
  bool shellDrops = !ole;
  for (int i = 0; i < PaneCount(); ++i) {
    WINFO* pane = Pane(i);
    if (!pane || !pane->Handle()) continue;
    if (ole) {
      auto target = std::make_shared<fileops::PaneDropTarget>(pane->Handle(), pane->Table(), &gate_);
      if (target->Registered()) {
        pane->KeepUntilDestroyed(target);
        continue;
      }
    }
    lazy::DragAcceptFiles(pane->Handle(), TRUE);
    shellDrops = true;
  }
  if (shellDrops && frame_) lazy::DragAcceptFiles(frame_->Handle(), TRUE);
}

void fwsApp::OnDropFiles(int pane, HDROP drop, LPARAM tag, HWND receiver) {
  fileops::DropHooks hooks;
  hooks.associationsChanged = [] { ::EnumWindows(&PostProc, app::kMsgAssociations); };
  fileops::HandleDroppedFiles(*this, pane, drop, static_cast<uint32_t>(tag), hooks, receiver);
}

void fwsApp::StartDrag(int pane, table::MouseButton, table::Point press) {
  WINFO* p = Pane(pane);
  if (!p || !p->Table()) return;
  // The drag loop dispatches messages: no command, reload or close runs inside it.
  const frame::CommandGate::Scope scope = gate_.EnterDrag();
  if (!scope) return;
  const POINT at{press.x, press.y};
  if (oleInitialized_ && config::Context().windowsMajorVersion >= kOleShellMajorVersion)
    fileops::OleDrag(*this, *p, at);
  else
    fileops::ManualDrag(*this, *p, at);
}
