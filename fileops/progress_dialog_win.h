// The progress dialog of a running copy, move or delete (layout 32517, modeless). The command
// hands it to the engine in its OperationUi. Constructing it switches dropping files onto the
// owner off; destroying it switches it back on. Cancel only disables its own button: that
// disabled state is what the engine polls between blocks.
#pragma once
#include <windows.h>

#include "fileops/engine_ui.h"
#include "fw/dialog.h"

namespace fileops {

class ProgressDialogWin final : public fw::Dialog, public ProgressDialog {
 public:
  // owner: the pane window of the table the command works on.
  explicit ProgressDialogWin(HWND owner);
  ~ProgressDialogWin() override;

  // Makes the dialog and shows it; false when it could not be made (the command then runs
  // without progress, as the engine allows).
  bool Open();

  // ProgressDialog
  void SetText(int control, const char* text) override;
  void SetGaugeRange(int low, int high) override;
  void SetGauge(int value) override;
  bool IsCancelDisabled() override;
  void DisableCancel() override;

 protected:
  bool OnInit() override;
  void OnOK() override {}  // Enter presses the default button: Cancel
  void OnCancel() override { DisableCancel(); }

 private:
  HWND pane_;
  bool ownerAcceptedFiles_ = false;
  // Set once Cancel was pressed, so the state survives the window being gone.
  bool cancelled_ = false;
};

}  // namespace fileops
