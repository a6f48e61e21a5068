// Dialogs from dialog resources: one C++ object per dialog, one dialog procedure for all of them
// (it finds the object stored with the dialog). Modal dialogs run with DoModal and report the
// button that closed them (IDOK 1, IDCANCEL 2 or a dialog's own id); modeless ones are made with
// Create and get their keyboard navigation from the application's message loop.
// Dialogs carry their data in public fields of the derived classes; the rules live elsewhere.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace fw {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND Handle() const { return hwnd_; }
  // The window the caller named as owner (may be a child window, such as a pane).
  HWND Owner() const { return owner_; }
  int TemplateId() const { return templateId_; }

  // Runs the dialog modally; the id of the button that ended it, -1 when it could not be made.
  // The owner may be a child window (a pane): the dialog then belongs to its top window and is
  // placed from the pane (PlaceByOwnerChain).
  INT_PTR DoModal(HWND owner);
  // Makes the dialog modeless and shows it; false when it could not be made.
  bool Create(HWND owner);
  // Ends the dialog with result: EndDialog when modal, DestroyWindow when modeless.
  void Close(INT_PTR result);
  // The result a modeless dialog ended with (0 while it runs).
  INT_PTR Result() const { return result_; }

  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  void SetItemText(int id, const char* text) const;
  // Sets at most maxBytes bytes of text, never half a double-byte character.
  void SetItemText(int id, const char* text, std::size_t maxBytes) const;
  // The whole text of a control.
  std::string ItemText(int id) const;
  // The text of a control into buffer: at most size-1 bytes, never half a double-byte
  // character, always terminated. Returns the bytes copied.
  std::size_t GetItemText(int id, char* buffer, std::size_t size) const;
  void FocusItem(int id) const;
  void SetCaption(const char* text) const { ::SetWindowTextA(hwnd_, text); }

  // Moves the dialog by the positions of its owner windows when the owner is a child window
  // (a pane): the dialog's template position then counts from the pane, not from the frame.
  // Follows the owner chain while a window is not a popup and has a parent or owner, at most two
  // windows; the size is kept, and the dialog is kept on the screen's work area.
  void PlaceByOwnerChain() const;

 protected:
  // WM_INITDIALOG; return true to let the system focus the first control, false after focusing
  // one. The default places the dialog by its owner chain.
  virtual bool OnInit();
  // WM_COMMAND for controls other than OK and Cancel; true when handled.
  virtual bool OnCommand(int id, int notifyCode, HWND control) { return false; }
  // OK button (or Enter); the default closes with IDOK.
  virtual void OnOK() { Close(IDOK); }
  // Cancel button, Escape or the close box; the default closes with IDCANCEL.
  virtual void OnCancel() { Close(IDCANCEL); }
  // Any other message; return true when handled (the procedure then returns *result).
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR* result) { return false; }
  // After a modeless dialog's window is gone.
  virtual void OnDestroyed() {}

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  int templateId_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  bool modal_ = false;
  INT_PTR result_ = 0;
};

}  // namespace fw
