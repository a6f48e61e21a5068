#include "fileops/command_support_win.h"

#include "frame/winfo_win.h"
#include "table/selection.h"

namespace fileops {

CommandPump::CommandPump() {
  OperationPump* previous = SetOperationPump(nullptr);
  if (previous) {
    SetOperationPump(previous);
  } else {
    SetOperationPump(&pump_);
    registered_ = true;
  }
}

CommandPump::~CommandPump() {
  if (registered_) SetOperationPump(nullptr);
}

void PaneRedraw::RedrawEntry(const table::BINFO* entry) { pane_.RedrawEntry(entry); }

void PaneRedraw::RepaintAll() { ::InvalidateRect(pane_.Handle(), nullptr, FALSE); }

std::vector<table::BINFO*> SelectedEntries(const table::Sorm& t) {
  std::vector<table::BINFO*> selected;
  if (t.selectedCount() <= 0) return selected;
  for (table::BINFO* e : t.Entries())
    if (e->Data() && e->Data()->IsSelected()) selected.push_back(e);
  return selected;
}

void SelectCursorIfNoneSelected(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t || t->selectedCount() > 0 || !t->HasCursor()) return;
  PaneRedraw redraw(pane);
  if (table::Select(*t, t->cursor(), &redraw)) pane.UpdateSelectionText();
}

void FinishEntry(WINFO& pane, table::BINFO* entry) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  PaneRedraw redraw(pane);
  if (table::Deselect(*t, entry, &redraw)) pane.UpdateSelectionText();
}

void ReloadKeepingPosition(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  t->ReloadKeepPosition();
  t->TitleText();
  pane.UpdateSelectionText();
}

void UpdatePane(WINFO& pane) {
  table::Sorm* t = pane.Table();
  if (!t) return;
  t->Update();
  t->TitleText();
  pane.UpdateSelectionText();
}

const char* CommandName(WINFO& pane, const table::SM_DAT& d) {
  const char* name = d.AddressName();
  if (!name) ShowMessage(pane, NoUsableNameMessage(d.name.c_str()).c_str());
  return name;
}

void ShowMessage(WINFO& pane, const CommandMessage& message) {
  if (message.text) pane.ErrorBox(message.text);
}

void ShowMessage(WINFO& pane, const char* text) {
  if (text && *text) pane.ErrorBox(text);
}

}  // namespace fileops
