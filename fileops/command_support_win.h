// What the file commands of a pane share: the operation pump for the length of a command, the
// selection changes they make as entries are finished (drawn at once, totals kept), the
// refresh of the panes afterwards and their error messages.
#pragma once
#include <windows.h>

#include <vector>

#include "fileops/engine_messages.h"
#include "fileops/operation_pump_win.h"
#include "table/pane_surface.h"
#include "table/sorm.h"

class WINFO;

namespace fileops {

// Registers the program's pump for one command unless the application has one registered.
class CommandPump {
 public:
  CommandPump();
  ~CommandPump();
  CommandPump(const CommandPump&) = delete;
  CommandPump& operator=(const CommandPump&) = delete;

 private:
  WindowsPump pump_;
  bool registered_ = false;
};

// The pane's drawing as the selection code asks for it.
class PaneRedraw final : public table::PaneSurface {
 public:
  explicit PaneRedraw(WINFO& pane) : pane_(pane) {}
  void RedrawEntry(const table::BINFO* entry) override;
  void RepaintAll() override;
  bool ScrollStep(int, int32_t) override { return false; }

 private:
  WINFO& pane_;
};

// The selected entries in display order, taken before a loop changes their marks.
std::vector<table::BINFO*> SelectedEntries(const table::Sorm& t);
// With nothing selected, selects the cursor entry (the loops work on the selected entries).
void SelectCursorIfNoneSelected(WINFO& pane);
// An entry a loop finished: deselected and drawn, the status bar's totals updated.
void FinishEntry(WINFO& pane, table::BINFO* entry);

// Lists the table again keeping the cursor's place, with its title and status.
void ReloadKeepingPosition(WINFO& pane);
// Brings the table up to date with its directory (the other pane of a copy or move).
void UpdatePane(WINFO& pane);

// The name every command uses to reach an entry (table::SM_DAT::AddressName(): the listed name,
// or the 8.3 alias of a name that does not lead back to its entry). Null after telling the user
// when the entry has neither: the command then leaves it alone.
const char* CommandName(WINFO& pane, const table::SM_DAT& d);

// Shows a command message in the table's error box; nothing for a message without text.
void ShowMessage(WINFO& pane, const CommandMessage& message);
void ShowMessage(WINFO& pane, const char* text);

}  // namespace fileops
