#include "fileops/question_dialogs_win.h"

#include <iterator>

#include "fileops/engine_path.h"
#include "fileops/engine_types.h"
#include "resources/fileops_dialog_ids.h"

namespace fileops {
namespace {

constexpr int kOverwriteAnswers[] = {kOverwriteYes, kOverwriteNewerOnly, kOverwriteAll,
                                     kOverwriteNo, kOverwriteCancel};
constexpr int kReadOnlyAnswers[] = {kReadOnlyYes, kReadOnlyDeleteAll, kReadOnlyNo,
                                    kReadOnlyCancel};

// Width in pixels of text drawn with the control's font.
int TextWidth(HWND control, const std::string& text) {
  HDC dc = ::GetDC(control);
  if (!dc) return 0;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  SIZE size{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old) ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return size.cx;
}

class ConfirmDeleteDialog final : public fw::Dialog {
 public:
  ConfirmDeleteDialog() : fw::Dialog(IDD_DELETE_CONFIRM) {}
};

}  // namespace

int NameQuestionDialog::Ask(const char* name) {
  name_ = name ? name : "";
  HWND owner = fallbackOwner_;
  if (progress_ && progress_->Handle()) owner = progress_->Handle();
  const INT_PTR r = DoModal(owner);
  for (int i = 0; i < answerCount_; ++i)
    if (answers_[i] == r) return static_cast<int>(r);
  return IDCANCEL;
}

void NameQuestionDialog::EndAsCancel() {
  if (Handle()) Close(IDCANCEL);
}

bool NameQuestionDialog::OnInit() {
  PlaceByOwnerChain();  // moves nothing when the owner is the progress dialog, a popup
  HWND line = Item(IDC_QUESTION_NAME);
  std::string shown = name_;
  if (line && !name_.empty()) {
    RECT r{};
    ::GetClientRect(line, &r);
    if (TextWidth(line, name_) > r.right - r.left) {
      const std::size_t cut = LastBackslash(name_);
      if (cut != std::string::npos) shown = name_.substr(cut + 1);
    }
  }
  SetItemText(IDC_QUESTION_NAME, shown.c_str());
  ::SetForegroundWindow(Handle());
  return true;
}

bool NameQuestionDialog::OnCommand(int id, int notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) return false;
  for (int i = 0; i < answerCount_; ++i) {
    if (answers_[i] == id) {
      Close(id);
      return true;
    }
  }
  return false;
}

OverwriteDialogWin::OverwriteDialogWin(HWND owner, const fw::Dialog* progress)
    : NameQuestionDialog(IDD_OVERWRITE, owner, progress, kOverwriteAnswers,
                         static_cast<int>(std::size(kOverwriteAnswers))) {}

ReadOnlyDialogWin::ReadOnlyDialogWin(HWND owner, const fw::Dialog* progress)
    : NameQuestionDialog(IDD_READONLY, owner, progress, kReadOnlyAnswers,
                         static_cast<int>(std::size(kReadOnlyAnswers))) {}

bool ConfirmDelete(HWND pane) {
  ConfirmDeleteDialog dialog;
  return dialog.DoModal(pane) == IDOK;
}

}  // namespace fileops
