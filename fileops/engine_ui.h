// What the engine needs of the user interface, as interfaces the windows implement: the nested
// message pump, the progress dialog and the two questions. The engine never shows a window
// itself; it finds the dialogs of the running command through the references below.
//
// Each dialog class derives from its interface here. Constructing it makes it the dialog in
// force (ActiveProgressDialog() and so on) and destroying it clears the reference again, so a
// command that creates its dialogs before its first engine call and destroys them after its
// last gives the engine exactly that command's dialogs and remembered answers. At most one of
// each kind exists at a time.
#pragma once
#include "fileops/engine_types.h"

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

// The progress dialog (PROC_DLG) of the running command.
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
  ProgressDialog();
  virtual ~ProgressDialog();
};

// A question of the running command. The engine keeps the last answer in it for the rest of
// the command; the answer starts at Yes (1 for both questions).
class QuestionDialog {
 public:
  QuestionDialog(const QuestionDialog&) = delete;
  QuestionDialog& operator=(const QuestionDialog&) = delete;

  // Asks modally about name (owner: the progress dialog) and returns the value of the button
  // pressed. A value the question does not have is taken as Cancel.
  virtual int Show(const char* name) = 0;

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
class OverwriteDialog : public QuestionDialog {
 protected:
  OverwriteDialog();
  ~OverwriteDialog() override;
};

// The read-only delete question (DCHK_DLG): Show asks whether the read-only entry name is
// deleted and returns a ReadOnlyAnswer.
class ReadOnlyDialog : public QuestionDialog {
 protected:
  ReadOnlyDialog();
  ~ReadOnlyDialog() override;
};

// The dialogs in force; null when the running command has none.
ProgressDialog* ActiveProgressDialog();
OverwriteDialog* ActiveOverwriteDialog();
ReadOnlyDialog* ActiveReadOnlyDialog();

// Sets the overwrite question aside for its lifetime, so that the copy under a move asks
// nothing more.
class OverwriteDialogAside {
 public:
  OverwriteDialogAside();
  ~OverwriteDialogAside();
  OverwriteDialogAside(const OverwriteDialogAside&) = delete;
  OverwriteDialogAside& operator=(const OverwriteDialogAside&) = delete;

 private:
  OverwriteDialog* saved_;
};

}  // namespace fileops
