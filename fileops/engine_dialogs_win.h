// The dialogs of a running engine command: its progress dialog and its questions, handed to
// every engine call, and reachable through the gate to cancel the command when the window
// closes.
#pragma once
#include "fileops/engine_ui.h"
#include "fileops/progress_dialog_win.h"
#include "fileops/question_dialogs_win.h"
#include "frame/command_gate.h"
#include "frame/winfo_win.h"

namespace fileops {

class EngineDialogs {
 public:
  EngineDialogs(WINFO& pane, frame::CommandGate& gate, bool readOnlyQuestion)
      : progress_(pane.Handle()),
        overwrite_(pane.Handle(), &progress_),
        readOnly_(pane.Handle(), &progress_),
        ui_{&progress_, readOnlyQuestion ? nullptr : &overwrite_,
            readOnlyQuestion ? &readOnly_ : nullptr, &written_},
        hook_(gate, [this] { ui_.Cancel(); }) {
    progress_.Open();
  }
  ProgressDialogWin& Progress() { return progress_; }
  const OperationUi& Ui() const { return ui_; }

 private:
  ProgressDialogWin progress_;
  OverwriteDialogWin overwrite_;
  ReadOnlyDialogWin readOnly_;
  WrittenPaths written_;  // one write per destination path in the command
  const OperationUi ui_;
  frame::CommandGate::CancelHook hook_;
};

}  // namespace fileops
