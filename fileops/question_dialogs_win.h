// The questions of the file operations: the overwrite question (layout 31000), the read-only
// delete question (32518), both asked by the engine with the progress dialog as owner, and the
// confirmation before a delete (32515).
#pragma once
#include <windows.h>

#include <string>

#include "fileops/engine_ui.h"
#include "fw/dialog.h"

namespace fileops {

// Shows a name (a path) above the fixed question text; a path too wide for its line is shown
// as its file name and extension only. Each answer button closes the dialog with its own id.
class NameQuestionDialog : public fw::Dialog {
 public:
  NameQuestionDialog(int templateId, HWND fallbackOwner, const int* answers, int answerCount)
      : fw::Dialog(templateId), fallbackOwner_(fallbackOwner), answers_(answers),
        answerCount_(answerCount) {}

 protected:
  // Runs the question about name; the id of the button pressed (Cancel for anything else).
  int Ask(const char* name);
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  HWND fallbackOwner_;
  const int* answers_;
  int answerCount_;
  std::string name_;
};

class OverwriteDialogWin final : public NameQuestionDialog, public OverwriteDialog {
 public:
  // owner: the window the question belongs to when no progress dialog is shown.
  explicit OverwriteDialogWin(HWND owner);
  int Show(const char* name) override { return Ask(name); }
};

class ReadOnlyDialogWin final : public NameQuestionDialog, public ReadOnlyDialog {
 public:
  explicit ReadOnlyDialogWin(HWND owner);
  int Show(const char* name) override { return Ask(name); }
};

// "削除します。よろしいですか？": true when the user chose OK.
bool ConfirmDelete(HWND pane);

}  // namespace fileops
