// The program's one-line input dialogs (a drop-down entry field remembering earlier answers) and
// the two-field entry dialogs of the menu editors.
//
//   INPUT_D   layout 31050: prompt and entry field
//   INPUT2_D  layout 30080: the same with a browse button for a file (file-open dialog)
//   INPUT3_D  layout 30080: the same with a browse button for a folder (folder browser)
//   KEYIN_D   layout 4 (mask menu entry) or 5 with KEYIN_D2 (run menu entry, with a browse
//             button for the command)
//
// Use: construct with the owner and the layout, SetupInput, Execute (1 for OK). OK takes an
// answer only when it fits the caller's buffer (exec::AnswerFits); a longer one is refused
// with tooLong and the dialog stays open. On OK result holds the answer, the caller's buffer
// too when it fits there unquoted, and the answer is stored in the history section, if any.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "exec/history.h"
#include "fw/dialog.h"

class INPUT_D : public fw::Dialog {
 public:
  INPUT_D(HWND owner, int layout) : fw::Dialog(layout), owner(owner) {}

  // section null or empty: no stored history. answer holds the initial text (terminated within
  // answerSize bytes) and receives the answer.
  void SetupInput(const char* caption, const char* prompt, char* answer, std::size_t answerSize,
                  const char* section, int capacity);
  // 1 for OK; anything else (2 for Cancel) leaves the caller's buffer as it was.
  INT_PTR Execute() { return DoModal(owner); }

  HWND owner;
  std::string caption;
  std::string prompt;
  char* answer = nullptr;
  std::size_t answerSize = 0;
  std::string section;
  exec::History history;
  std::vector<std::string> choices;  // added to the history shown, after the stored answers
  std::string tooLong = "入力が長すぎます";  // the message refusing an answer that does not fit
  std::string result;                        // on OK: the answer, whole

 protected:
  bool OnInit() override;
  void OnOK() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  // The browse button's work: the path to put into the entry field, empty for none.
  virtual std::string Browse() { return std::string(); }
};

class INPUT2_D : public INPUT_D {
 public:
  using INPUT_D::INPUT_D;
  using INPUT_D::SetupInput;
  void SetupInput(const char* caption, const char* prompt, char* answer, std::size_t answerSize,
                  const char* section, int capacity, const char* filter);

  std::string filter;  // "name|pattern|..." of the file-open dialog
  bool quoteBlanks = true;  // a chosen path with a blank is put in double quotes

 protected:
  std::string Browse() override;
};

class INPUT3_D : public INPUT_D {
 public:
  using INPUT_D::INPUT_D;

 protected:
  std::string Browse() override;
};

class KEYIN_D : public fw::Dialog {
 public:
  // Bytes of each text: a run item's command of 1,024 bytes and its terminator fit.
  static constexpr std::size_t kTextMax = 1026;

  KEYIN_D(HWND owner, int layout) : fw::Dialog(layout), owner(owner) {}
  // Each copied up to kTextMax bytes.
  void SetTexts(const char* title, const char* value);
  INT_PTR Execute() { return DoModal(owner); }

  HWND owner;
  std::string title;  // on OK: at most kTextMax - 1 bytes
  std::string value;  // on OK: at most kTextMax - 2 bytes

 protected:
  bool OnInit() override;
  void OnOK() override;
};

class KEYIN_D2 : public KEYIN_D {
 public:
  using KEYIN_D::KEYIN_D;

 protected:
  bool OnCommand(int id, int notifyCode, HWND control) override;
};
