// What the engine needs of the user interface, as interfaces the windows implement: the nested
// message pump, the progress dialog and the two questions.
//
// The engine never shows a window itself and keeps no dialog of its own: each command builds an
// OperationUi with its own progress dialog and questions and passes it to every engine call.
// Two commands therefore never share or clear each other's dialogs or remembered answers.
#pragma once
#include "fileops/engine_types.h"
#include "fileops/written_paths.h"

namespace fileops {

// The nested message pump (run between blocks of work so the window repaints and the user can
// press Cancel). The application registers its pump once; the mouse tracking shares it.
class OperationPump {
 public:
  virtual ~OperationPump() = default;
  virtual void Run() = 0;
};

// Registers the pump (null removes it); returns the one registered before.
OperationPump* SetOperationPump(OperationPump* pump);
// Runs the registered pump, if any.
void RunOperationPump();

// The progress dialog (PROC_DLG) of a command.
class ProgressDialog {
 public:
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Text of one of the static controls (ProgressControl).
  virtual void SetText(int control, const char* text) = 0;
  // The gauge (control 101).
  virtual void SetGaugeRange(int low, int high) = 0;
  virtual void SetGauge(int value) = 0;
  // The Cancel button (control 2): disabled is the cancel signal, and it stays disabled.
  virtual bool IsCancelDisabled() = 0;
  virtual void DisableCancel() = 0;

 protected:
  ProgressDialog() = default;
  virtual ~ProgressDialog() = default;
};

// A question of a command. The engine keeps the last answer in it for the rest of the command;
// the answer starts at Yes (1 for both questions).
class QuestionDialog {
 public:
  QuestionDialog(const QuestionDialog&) = delete;
  QuestionDialog& operator=(const QuestionDialog&) = delete;

  // Asks modally about name (owner: the progress dialog) and returns the value of the button
  // pressed. A value the question does not have is taken as Cancel.
  virtual int Show(const char* name) = 0;
  // Ends the question while it is shown as if Cancel had been pressed (the window is being
  // closed); nothing when it is not shown.
  virtual void Dismiss() {}

  int Remembered() const { return remembered_; }
  void Remember(int answer) { remembered_ = answer; }

 protected:
  QuestionDialog() = default;
  virtual ~QuestionDialog() = default;

 private:
  static_assert(kOverwriteYes == 1 && kReadOnlyYes == 1);
  int remembered_ = kOverwriteYes;
};

// The overwrite question (CPCHK_D): Show asks whether the existing file name is overwritten
// and returns an OverwriteAnswer.
class OverwriteDialog : public QuestionDialog {};

// The read-only delete question (DCHK_DLG): Show asks whether the read-only entry name is
// deleted and returns a ReadOnlyAnswer.
class ReadOnlyDialog : public QuestionDialog {};

// The dialogs of one command, handed to every engine call of it. Each may be null: without a
// progress dialog nothing is shown and nothing can be cancelled; without a question its answer
// is Yes.
struct OperationUi {
  ProgressDialog* progress = nullptr;
  OverwriteDialog* overwrite = nullptr;
  ReadOnlyDialog* readOnly = nullptr;
  // The destinations the command has written (one write per path); null: not kept.
  WrittenPaths* written = nullptr;

  // Claims destination for source in the command's ledger; false (with LastCopyError set to
  // kErrnoWrittenTwice) when the command already wrote it from another source.
  bool ClaimFile(const char* destination, const char* source) const;
  bool ClaimTree(const char* destination, const char* source) const;
  // Whether the ledger lets source write destination, recording nothing (the same failure).
  bool MayWrite(const char* destination, const char* source) const;

  // True when the progress dialog's Cancel is disabled (pressed, or a question was cancelled).
  bool Cancelled() const { return progress && progress->IsCancelDisabled(); }
  // Cancels the command from outside: Cancel is pressed and a question being shown is
  // dismissed, so the engine unwinds at its next test.
  void Cancel() const;
  // The same command without its overwrite question: the copy under a move asks nothing more.
  OperationUi WithoutOverwrite() const {
    OperationUi ui = *this;
    ui.overwrite = nullptr;
    return ui;
  }
};

}  // namespace fileops
