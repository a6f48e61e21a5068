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
  // progress: the command's progress dialog, the question's owner while it is shown;
  // fallbackOwner when it has no window.
  NameQuestionDialog(int templateId, HWND fallbackOwner, const fw::Dialog* progress,
                     const int* answers, int answerCount)
      : fw::Dialog(templateId), fallbackOwner_(fallbackOwner), progress_(progress),
        answers_(answers), answerCount_(answerCount) {}

 protected:
  // Runs the question about name; the id of the button pressed (Cancel for anything else).
  int Ask(const char* name);
  // Ends the question as Cancel while it is shown.
  void EndAsCancel();
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  HWND fallbackOwner_;
  const fw::Dialog* progress_;
  const int* answers_;
  int answerCount_;
  std::string name_;
};

class OverwriteDialogWin final : public NameQuestionDialog, public OverwriteDialog {
 public:
  // owner: the window the question belongs to when no progress dialog is shown.
  OverwriteDialogWin(HWND owner, const fw::Dialog* progress);
  int Show(const char* name) override { return Ask(name); }
  void Dismiss() override { EndAsCancel(); }
};

class ReadOnlyDialogWin final : public NameQuestionDialog, public ReadOnlyDialog {
 public:
  ReadOnlyDialogWin(HWND owner, const fw::Dialog* progress);
  int Show(const char* name) override { return Ask(name); }
  void Dismiss() override { EndAsCancel(); }
};

// "削除します。よろしいですか？": true when the user chose OK.
bool ConfirmDelete(HWND pane);

}  // namespace fileops
