// The Mask and Run menus' own items on the application object: building and rebuilding them,
// a mask item, a run item, the two list editors and registering files in the run menu.
#include <windows.h>

#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "settings/mask_input.h"
#include "settings/menu_editor_win.h"
#include "settings/menu_sections.h"
#include "exec/input_dialogs_win.h"
#include "exec/input_text.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/winfo_win.h"
#include "resources/input_dialog_ids.h"
#include "table/selection.h"
#include "table/sorm.h"

void fwsApp::BuildUserMenus() {
  HMENU bar = frame_ ? ::GetMenu(frame_->Handle()) : nullptr;
  userMenus_.Build(bar, app::UserMenus::kMask);
  userMenus_.Build(bar, app::UserMenus::kRun);
}

void fwsApp::RebuildUserMenu(app::UserMenus::Kind kind) {
  HMENU bar = frame_ ? ::GetMenu(frame_->Handle()) : nullptr;
  userMenus_.Clear(bar, kind);
  userMenus_.Build(bar, kind);
  if (bar) ::DrawMenuBar(frame_->Handle());
}

int fwsApp::SelectMaskItem(int id) {
  const settings::ProfileInfo* item = userMenus_.Find(id);
  table::Sorm* t = ActiveTable();
  if (!item || !t) return -1;
  t->ChooseMask(settings::NormalizeMaskInput(item->value.c_str()), id);
  return 0;
}

void fwsApp::EditMenuList(bool run) {
  WINFO* p = Pane(activePane_);
  MenuListDialog editor(run);
  editor.Load();
  if (editor.DoModal(p ? p->Handle() : frame_->Handle()) != IDOK) return;
  app::BroadcastToAllWindows(run ? app::kMsgRunMenuChanged : app::kMsgMaskMenuChanged);
}

void fwsApp::RegisterInRunMenu() {
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  table::BINFO* target = table::TargetEntry(*t);
  if (!target) return;
  if (t->selectedCount() == 0) table::Select(*t, target, p);
  for (table::BINFO* e = target; t->IsEntry(e); e = e->NextNode()) {
    const table::SM_DAT* d = e->Data();
    if (!d || !d->IsSelected()) continue;
    const char* address = d->AddressName();
    if (!address) continue;  // no name leads back to this file
    const settings::ProfileInfo proposal = settings::RunMenuProposal(t->path(), d->DisplayName(), address);
    KEYIN_D2 entry(p->Handle(), IDD_KEYIN_RUN);
    entry.SetTexts(proposal.title.c_str(), proposal.value.c_str());
    for (;;) {
      if (entry.Execute() != IDOK) break;
      const settings::ProfileInfo item{exec::CutToBytes(entry.title, settings::kRunTitleMax),
                                  exec::CutToBytes(entry.value, settings::kRunCommandMax)};
      if (const char* problem = settings::MenuTitleProblem(item.title)) {
        ::MessageBoxA(p->Handle(), problem, "入力エラー", MB_OK | MB_ICONEXCLAMATION);
        entry.SetTexts(item.title.c_str(), item.value.c_str());
        continue;
      }
      const settings::SectionWrite written = settings::AddMenuEntry(settings::kRunSection, item);
      if (written == settings::SectionWrite::kLockError) ShowLockError();
      // Also a title or command with a line break, which the writer refuses.
      if (written == settings::SectionWrite::kWriteError)
        ::MessageBoxA(p->Handle(), "設定ファイルに書き込めません", "ｴﾗｰ処理",
                      MB_OK | MB_ICONEXCLAMATION);
      break;
    }
  }
  table::DeselectAll(*t, p);
  app::BroadcastToAllWindows(app::kMsgRunMenuChanged);
}
