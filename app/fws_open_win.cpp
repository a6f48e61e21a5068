// The open command of the application object: Enter, a double-click and the File menu's open
// command on an entry of a pane (exec/open_entries.h decides, exec/open_file_win.h starts).
#include <windows.h>

#include "app/fws_app_win.h"
#include "exec/ask_input_win.h"
#include "exec/association_dialog_win.h"
#include "exec/open_entries.h"
#include "exec/open_file_win.h"
#include "exec/table_associations.h"
#include "fileops/command_support_win.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/winfo_win.h"
#include "resources/commands.h"
#include "table/selection.h"
#include "table/sorm.h"

namespace {

constexpr char kLineTooLongText[] = "パス名が長すぎます";

class PaneOpenHandler final : public exec::OpenHandler {
 public:
  PaneOpenHandler(fwsApp& app, WINFO& pane) : app_(app), pane_(pane) {}

  table::PaneSurface* Surface() override { return &pane_; }
  void OpenFile(table::Sorm& t, table::BINFO* entry, const std::string& fullPath) override {
    exec::OpenFile(app_.FrameHandle(), t, entry, fullPath, &pane_);
  }
  void OpenNewWindow(int dx, int dy) override { app_.OpenNewWindow(dx, dy); }
  void Unreachable(const table::SM_DAT& d) override { fileops::CommandName(pane_, d); }
  void DirectoryEntered(table::Sorm& t) override {
    pane_.CloseChangeMonitor();
    pane_.ArmChangeMonitor(t.path());
    t.TitleText();
    ::InvalidateRect(pane_.Handle(), nullptr, FALSE);
    ::UpdateWindow(pane_.Handle());
  }

 private:
  fwsApp& app_;
  WINFO& pane_;
};

}  // namespace

void fwsApp::OpenEntry(int pane, table::BINFO* node) {
  WINFO* p = Pane(pane);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  PaneOpenHandler handler(*this, *p);
  exec::OpenEntries(*t, node, handler);
}

void fwsApp::OpenEntryCommand(int pane, table::BINFO* node) {
  const frame::CommandGate::Scope scope = gate_.Enter();
  if (!scope) return;
  OpenEntry(pane, node);
}

void fwsApp::OpenCursorEntry() {
  if (table::Sorm* t = ActiveTable(); t && t->HasCursor()) OpenEntry(activePane_, t->cursor());
}

void fwsApp::RunProgramDialog() {
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  std::string answer = exec::RunDialogAnswer(*t);
  if (!exec::AskInput(p->Handle(), exec::InputQuestion::kRun, answer)) return;
  RunAnswerInActivePane(answer);
}

void fwsApp::RunMenuEntry(int id) {
  const settings::ProfileInfo* item = userMenus_.Find(id);
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!item || !t) return;
  // A copy: the run may pump messages that rebuild the menu.
  if (exec::RunMenuCommand(*t, std::string(item->value), p) == exec::RunOutcome::kTooLong)
    p->ErrorBox(kLineTooLongText);
}

void fwsApp::RunAnswerInActivePane(const std::string& answer) {
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  if (exec::RunAnswer(*t, answer, p) == exec::RunOutcome::kTooLong) p->ErrorBox(kLineTooLongText);
}

void fwsApp::RunLineCommand(const std::string& line) {
  const frame::CommandGate::Scope scope = gate_.Enter();
  if (!scope) return;
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  if (exec::RunCommandLine(*t, line, p) == exec::RunOutcome::kTooLong)
    p->ErrorBox(kLineTooLongText);
}

void fwsApp::AssociationsChanged() {
  // Not under a running command, which may hold a record of the lists.
  gate_.WhenIdle([this] {
    for (int i = 0; i < PaneCount(); ++i) {
      WINFO* p = Pane(i);
      table::Sorm* t = p ? p->Table() : nullptr;
      if (!t) continue;
      {
        const exec::AssociationsLock hold(t->lock());
        exec::ReloadTableAssociations(*t);
      }
      // The old records took their icons with them: the listing is read again so that no
      // entry keeps one, and its icons load anew from the new lists.
      t->ReloadKeepPosition();
    }
  });
}

void fwsApp::AssociationCommand(fwsApp& a, int id) {
  WINFO* p = a.Pane(a.activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  // An entry no name reaches is refused with its message.
  if (const table::BINFO* e = table::TargetEntry(*t);
      e && !e->Data()->link && !e->Data()->AddressName()) {
    fileops::CommandName(*p, *e->Data());
    return;
  }
  const exec::AssociationKind kind = id == CMD_FLINK_EXT    ? exec::AssociationKind::kByExtension
                                     : id == CMD_FLINK_NAME ? exec::AssociationKind::kByName
                                                            : exec::AssociationKind::kByFullName;
  exec::EditAssociation(p->Handle(), *t, kind, *p);
}
